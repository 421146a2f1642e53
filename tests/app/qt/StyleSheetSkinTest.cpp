#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "app/qt/StyleSheetSkin.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

// The skin file is looked for in the current directory (the test's executable directory has
// none). Without one the look stays the platform's and nothing fails.
TEST(StyleSheetSkin, AppliesAStyleSheetOnlyWhenThereIsOne) {
    struct Case {
        const char* what;
        QByteArray contents;  // empty: no file at all
        bool directory;       // a directory of that name instead of a file
        bool started;
        bool applied;
    };
    const Case cases[] = {
        {"no skin file", {}, false, true, false},
        {"a directory named like the skin", {}, true, true, false},
        {"a style sheet", "QDialog { background: #203040; }", false, true, true},
        {"not a style sheet", "\x01\x02{{{;;", false, true, true},
        {"far too large", QByteArray(StyleSheetSkin::kMaxSkinBytes + 1, ' '), false, false, false},
    };
    const QString previous = QDir::currentPath();
    for (const Case& c : cases) {
        TempDirectory directory;
        QDir here(QString::fromStdString(directory.Path().string()));
        ASSERT_TRUE(QDir::setCurrent(here.path()));
        if (c.directory) here.mkdir(QStringLiteral("rilo.u3"));
        if (!c.contents.isEmpty()) {
            QFile file(here.filePath(QStringLiteral("rilo.u3")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.contents);
        }
        StyleSheetSkin skin;
        EXPECT_EQ(skin.Start("rilo.u3"), c.started) << c.what;
        EXPECT_EQ(!qApp->styleSheet().isEmpty(), c.applied) << c.what;
        EXPECT_EQ(!skin.SkinFile().isEmpty(), c.applied) << c.what;
        skin.Stop();
        EXPECT_TRUE(qApp->styleSheet().isEmpty()) << c.what;
        QDir::setCurrent(previous);
    }
}

}  // namespace
}  // namespace varnok
