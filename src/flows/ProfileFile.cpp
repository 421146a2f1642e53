#include "flows/ProfileFile.h"

#include <fstream>
#include <istream>
#include <system_error>
#include <utility>
#include <vector>

#include "flows/ProfileFileTexts.h"
#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "keys/ProfileJson.h"
#include "keys/ProfileTransfer.h"
#include "keys/StoredChoices.h"
#include "store/FileProblemTexts.h"
#include "store/PathText.h"
#include "store/ReplaceFile.h"
#include "store/SameFile.h"
#include "store/SettingsStore.h"

namespace varnok {

namespace {

std::string NotRead(const FileResult& read, std::int32_t language) {
    return DescribeFileResult(read, language) +
           std::string(ProfileTextFor(ProfileText::NothingChanged, language));
}

}  // namespace

Profile ProfileOfStoredKeys(const KeySlotsModel& model, SettingsStore& settings,
                            std::vector<std::string>& notices) {
    return ProfileOfModel(model, StoredLanguage(settings), StoredKeyCount(settings), notices);
}

std::string ProfileTargetRefusal(const std::filesystem::path& file,
                                 const std::filesystem::path& mapFile, std::int32_t language) {
    if (!SameFile(file, mapFile)) return {};
    return PathText(file) + ": " + std::string(ProfileTextFor(ProfileText::MapFileTaken, language));
}

std::string WriteProfileFile(const Profile& profile, const std::filesystem::path& file,
                             std::int32_t language) {
    const std::string json = WriteProfileJson(profile);
    const FileResult written =
        ReplaceFile(file, {reinterpret_cast<const std::uint8_t*>(json.data()), json.size()});
    return written ? std::string() : DescribeFileResult(written, language);
}

std::optional<Profile> ReadProfile(std::istream& in, const std::filesystem::path& name,
                                   std::string_view source, std::int32_t language,
                                   std::string& refusal, const KeyboardLayoutByName& layoutByName) {
    const std::string limit(ProfileTextFor(ProfileText::SizeLimit, language));
    // One byte more than a profile may hold tells a file that is too large.
    std::string text(kMaxProfileSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        refusal = NotRead({FileProblem::Unreadable, name, {}}, language);
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxProfileSize) {
        refusal = NotRead({FileProblem::TooLargeToLoad, name, limit}, language);
        return std::nullopt;
    }
    std::string error;
    std::optional<Profile> profile = ReadProfileJson(text, error, layoutByName);
    if (!profile) {
        refusal = std::string(source) + ": " + error +
                  std::string(ProfileTextFor(ProfileText::NothingChanged, language));
    }
    return profile;
}

std::optional<Profile> ReadProfileFile(const std::filesystem::path& file, std::int32_t language,
                                       std::string& refusal,
                                       const KeyboardLayoutByName& layoutByName) {
    namespace fs = std::filesystem;
    const auto refuse = [&](const FileResult& result) -> std::optional<Profile> {
        refusal = NotRead(result, language);
        return std::nullopt;
    };
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) return refuse({FileProblem::Missing, file, {}});
    if (error) return refuse({FileProblem::SystemError, file, error.message()});
    if (!fs::is_regular_file(status)) return refuse({FileProblem::NotAFile, file, {}});
    // A size the system gives is checked before the read; the read checks it again.
    const std::uintmax_t size = fs::file_size(file, error);
    if (!error && size > kMaxProfileSize) {
        return refuse({FileProblem::TooLargeToLoad, file,
                       std::string(ProfileTextFor(ProfileText::SizeLimit, language))});
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return refuse({FileProblem::Unreadable, file, {}});
    return ReadProfile(in, file, PathText(file), language, refusal, layoutByName);
}

std::string ImportProfile(const Profile& profile, KeySlotsModel& model, std::int32_t language) {
    KeySlotsModel imported = model;
    ApplyProfile(profile, imported);
    // The keys, their functions, the key count and the language as one change.
    std::vector<SettingChange> settings = imported.FunctionModeSettings();
    settings.push_back({std::string(kKeyCountSetting), profile.keyCount - 1});
    settings.push_back({std::string(kLanguageSetting), profile.language});
    if (const FileResult saved = imported.SaveStore(settings); !saved) {
        return DescribeFileResult(saved, language);
    }
    model = std::move(imported);
    return {};
}

}  // namespace varnok
