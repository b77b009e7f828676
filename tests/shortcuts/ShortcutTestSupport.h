#pragma once

#include "platform/Bundle.h"
#include "platform/Environment.h"
#include "platform/KeyboardLayout.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/FakeMainQueue.h"
#include "shortcuts/ModuleTexts.h"
#include "shortcuts/Registry.h"

#include <sstream>

namespace zentaris::testing {

// English session, the program's own resources and a US layout for the captions of one test.
struct ShortcutCaptionEnvironment {
    platform::fake::FakeEnvironment environment{{"LANG", "en_US.UTF-8"}};
    platform::fake::FakeKeyboardLayout layout = platform::fake::FakeKeyboardLayout::usQwerty();

    ShortcutCaptionEnvironment() {
        platform::Environment::install(&environment);
        platform::KeyboardLayout::install(&layout);
        platform::Bundle::setMain(platform::Bundle(ZENTARIS_SOURCE_RESOURCES, std::nullopt));
        GlobalShortcuts::ModuleTexts::resetShared();
    }
    ~ShortcutCaptionEnvironment() {
        platform::KeyboardLayout::install(nullptr);
        platform::Environment::install(nullptr);
        GlobalShortcuts::ModuleTexts::resetShared();
    }
};

// A registry over fakes, printing into `printed`.
struct RegistryScene {
    ShortcutCaptionEnvironment captions;
    platform::MemoryUserDefaults defaults;
    platform::NotificationCenter center;
    platform::fake::FakeHotKeys hotKeys;
    platform::fake::FakeMainQueue queue;
    std::ostringstream printed;
    GlobalShortcuts::Registry registry{defaults, center, hotKeys, queue, printed};
};

} // namespace zentaris::testing
