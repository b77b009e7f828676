#include "app/LoginItem.h"
#include "support/NamedPipe.h"
#include "support/TemporaryDirectory.h"

#include <gio/gdesktopappinfo.h>
#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>
#include <vector>

using zentaris::LoginItem;
using zentaris::testing::NamedPipe;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::readFile;
using zentaris::testing::writeFile;

namespace {

// Program paths holding every character the desktop-entry format treats specially.
const std::vector<std::string> awkwardFolders = {
    "zen taris", "cost$HOME", "run`id`", "say \"hi\"", "back\\slash", "slash\\\"quote", "100%", "%f%u%%", "all \"$`\\% of them\\",
};

// What a launcher does with a desktop entry's Exec line before running it: GLib's key-file parser
// undoes the string escapes, field codes are expanded (%% is a literal %, the others stand for
// files and addresses, of which there are none at login), then GLib splits the line as a shell would.
std::vector<std::string> launchedCommandLine(const std::filesystem::path& entry) {
    GKeyFile* file = g_key_file_new();
    GError* error = nullptr;
    std::vector<std::string> result;
    if (g_key_file_load_from_file(file, entry.c_str(), G_KEY_FILE_NONE, &error)) {
        gchar* exec = g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_EXEC, &error);
        if (exec) {
            std::string expanded;
            for (const char* p = exec; *p; ++p) {
                if (*p != '%' || !p[1]) expanded += *p;
                else if (*++p == '%') expanded += '%';
            }
            gchar** argv = nullptr;
            if (g_shell_parse_argv(expanded.c_str(), nullptr, &argv, &error)) {
                for (gchar** arg = argv; *arg; ++arg) result.emplace_back(*arg);
                g_strfreev(argv);
            }
            g_free(exec);
        }
    }
    if (error) ADD_FAILURE() << "GLib refuses the entry: " << error->message;
    g_clear_error(&error);
    g_key_file_free(file);
    return result;
}

} // namespace

TEST(LoginItem, RegisterWritesAnEntryAndUnregisterRemovesOnlyOurs) {
    TemporaryDirectory dir;
    LoginItem item(dir / "autostart", "/opt/zen taris/bin/zentaris");
    EXPECT_FALSE(item.isRegistered());
    ASSERT_TRUE(item.registerItem());
    EXPECT_TRUE(item.isRegistered());
    EXPECT_TRUE(item.registerItem()) << "registering twice replaces our own entry";

    EXPECT_TRUE(item.unregisterItem());
    EXPECT_FALSE(std::filesystem::exists(item.entryPath()));
    EXPECT_TRUE(item.unregisterItem()) << "nothing to remove is fine";
}

TEST(LoginItem, ForeignEntryIsNeverReplacedOrRemoved) {
    TemporaryDirectory dir;
    LoginItem item(dir / "autostart", "/usr/bin/zentaris");
    const std::string foreign = "[Desktop Entry]\nType=Application\nExec=zentaris --my-flags\n";
    writeFile(item.entryPath(), foreign);
    EXPECT_FALSE(item.registerItem());
    EXPECT_TRUE(item.unregisterItem());
    EXPECT_EQ(readFile(item.entryPath()), foreign);
    EXPECT_FALSE(item.isRegistered());
}

TEST(LoginItem, WritingTheEntryRemovesTemporariesOfWritersThatNoLongerRun) {
    TemporaryDirectory dir;
    LoginItem item(dir / "autostart", "/usr/bin/zentaris");
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    auto abandoned = item.entryPath();
    abandoned += ".tmp-" + std::to_string(ended);
    auto running = item.entryPath();
    running += ".tmp-" + std::to_string(::getppid());
    writeFile(abandoned, "[Desktop Entry]\nType=Appl");
    writeFile(running, "[Desktop Entry]\nType=Appl");

    ASSERT_TRUE(item.registerItem());
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    EXPECT_TRUE(std::filesystem::exists(running)) << "its writer may still rename it";
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir / "autostart")) ++files;
    EXPECT_EQ(files, 2u) << "the entry and the running writer's temporary, none of our own";
}

TEST(LoginItem, AnEntryThatIsANamedPipeIsLeftAloneWithoutWaiting) {
    TemporaryDirectory dir;
    LoginItem item(dir / "autostart", "/usr/bin/zentaris");
    const NamedPipe pipe(item.entryPath());
    bool registered = true;
    bool unregistered = false;
    ASSERT_TRUE(pipe.returnsWithin(std::chrono::seconds(3), [&] {
        registered = item.registerItem();
        unregistered = item.unregisterItem();
    }));
    EXPECT_FALSE(registered);
    EXPECT_TRUE(unregistered);
    EXPECT_TRUE(std::filesystem::is_fifo(item.entryPath()));
}

TEST(LoginItem, GLibReadsTheProgramPathBackExactly) {
    for (const auto& folder : awkwardFolders) {
        SCOPED_TRACE(folder);
        TemporaryDirectory dir;
        const std::string program = "/opt/" + folder + "/zentaris";
        LoginItem item(dir / "autostart", program);
        ASSERT_TRUE(item.registerItem());
        EXPECT_EQ(launchedCommandLine(item.entryPath()), std::vector<std::string>{program});
    }
}

TEST(LoginItem, PathWithAControlCharacterIsNotRegistered) {
    TemporaryDirectory dir;
    LoginItem item(dir / "autostart", "/opt/two\nlines/zentaris");
    EXPECT_FALSE(item.registerItem());
    EXPECT_FALSE(std::filesystem::exists(item.entryPath()));
}

// GLib's own launcher runs the entry: the program it starts records the path it was started by.
// (GLib looks the program up before expanding field codes, so a path with % is left to the test above.)
TEST(LoginItem, GLibLauncherStartsTheProgramAtAnAwkwardPath) {
    TemporaryDirectory dir;
    const auto program = dir / "all \"$`\\ of them\\" / "zentaris";
    const auto record = dir / "started-as";
    writeFile(program, "#!/bin/sh\nprintf '%s' \"$0\" > '" + record.string() + ".tmp' && mv '" + record.string() +
                           ".tmp' '" + record.string() + "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    LoginItem item(dir / "autostart", program);
    ASSERT_TRUE(item.registerItem());

    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(item.entryPath().c_str());
    ASSERT_NE(info, nullptr) << "GLib refuses the entry";
    GError* error = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(info), nullptr, nullptr, &error);
    EXPECT_TRUE(launched) << (error ? error->message : "");
    g_clear_error(&error);
    g_object_unref(info);
    ASSERT_TRUE(launched);

    // The program runs on its own; wait for its record (generously: this is no speed test).
    for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(readFile(record), program.string());
}
