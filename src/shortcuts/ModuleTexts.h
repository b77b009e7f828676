#pragma once

#include "platform/Bundle.h"
#include "preferences/LanguageBundle.h"

#include <optional>
#include <string>
#include <vector>

namespace GlobalShortcuts {

// The module's own texts, kept in the resource folder "GlobalShortcuts_GlobalShortcuts.bundle"
// beside the program's resources, in the session's language.
class ModuleTexts {
public:
    static constexpr const char* bundleName = "GlobalShortcuts_GlobalShortcuts";

    ModuleTexts(const platform::Bundle& mainBundle, const std::vector<std::string>& preferredLanguages);

    // The text of `key`; the key itself when the folder or the text is missing, so a damaged
    // installation shows raw keys instead of stopping the program.
    std::string localizedString(const std::string& key) const;
    bool bundleFound() const { return bundleFound_; }

    // Found once, on first use, from the main bundle and the session's languages.
    static const ModuleTexts& shared();
    static void resetShared();

private:
    bool bundleFound_ = false;
    zentaris::LanguageBundle texts_;
};

} // namespace GlobalShortcuts
