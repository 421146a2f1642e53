#pragma once

#include <QString>
#include <string_view>

namespace varnok {

// The program's look, started before the main window exists and shut down after it closed.
// A skin is a Qt style sheet in a file of the given name, next to the executable or in the
// current directory; without such a file the platform's own look stays and nothing fails.
class StyleSheetSkin {
public:
    // Skins larger than this are not a style sheet of this program; they are not read.
    static constexpr qint64 kMaxSkinBytes = 1024 * 1024;

    // Applies the skin file if there is one. False only when a skin file exists but cannot be
    // read (or is too large); start-up goes on either way.
    bool Start(std::string_view skinFileName);
    // Takes the skin off again.
    void Stop();

    // The skin file in use, empty when none.
    const QString& SkinFile() const { return skinFile_; }

private:
    QString skinFile_;
};

}  // namespace varnok
