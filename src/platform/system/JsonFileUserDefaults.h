#pragma once

#include "platform/MainQueue.h"
#include "platform/UserDefaults.h"

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace platform {

// The user defaults kept in one JSON file that records each value's type. A change writes its own
// key onto the file as it is on disk at that moment, so keys that another writer (the same user's
// session on another display, a hand edit) wrote or removed since stay so; writers that take the
// folder's lock do this one at a time. Every write replaces the file atomically (temporary file,
// flush, rename), so a crash leaves the old or the new file, never half of one. A file that cannot
// be read, or is larger or more deeply nested than a settings file ever is, is moved aside, never
// overwritten; a change then writes every value in use. The file is written compact, and a change
// that would make it larger than it may be read is refused, as a failed write is; so is a change
// while another writer keeps the folder locked for longer than a change may wait. A key whose
// change could not be saved stays unsaved and is written with the next save of any key, until it
// is written; a change made with update() is then applied anew to the value on disk. A kept change
// never overwrites a later one: where another writer has changed what it sets since this store
// last read the file, the other writer's value stands and this store takes it. One refused
// for its size is left out of later saves that it would make too large, until there is room. An
// entry that cannot be read (say a type a newer version writes, or a number no double holds) is
// left out on its own; before the file is rewritten without it, a copy of the file as it was is
// kept aside. When the file is a symbolic link (say into a folder of dotfiles), the link stays and
// its target is rewritten; the file's permissions stay as the user set them.
class JsonFileUserDefaults : public MemoryUserDefaults {
public:
    static constexpr std::size_t maximumFileSize = 1024 * 1024;
    static constexpr int maximumNesting = 32;

    explicit JsonFileUserDefaults(std::filesystem::path file);

    // $XDG_CONFIG_HOME/zentaris/defaults.json, or ~/.config/zentaris/defaults.json.
    static std::filesystem::path defaultLocation();

    const std::filesystem::path& file() const { return file_; }

    // Called between writing the temporary file and renaming it; answering false abandons the
    // write there, as a crash would. For tests of interrupted writes.
    void setBeforeReplaceHook(std::function<bool()> hook) { beforeReplace_ = std::move(hook); }

    // Called with the reason (the system's error text, or that the file would be too large) when a
    // change could not be saved, unless the last report is still before the user: then only
    // standard error hears of it. Every change tries to save anew.
    void setWriteFailureHandler(std::function<void(const std::string& reason)> handler) {
        onWriteFailure_ = std::move(handler);
    }
    // The user has dismissed the last report; the next failure is reported again.
    void writeFailureSeen() { reportOpen_ = false; }

    // Applies `change` to the value as it is in the file, under the folder's lock.
    void update(const std::string& key, Change change, ChangedByOthers changedByOthers = {}) override;
    void setDerived(const std::string& key, DefaultsValue value) override;
    // Names the key on standard error; before a change of it replaces that value, the file as it
    // is then is copied aside.
    void reportUnreadableValue(const std::string& key) override;

    // Once a wait for the folder's lock has run out, the other saves of the same turn of `turns`
    // do not wait again: they are refused and kept, as when the wait runs out. Without it, every
    // save waits.
    void waitForTheLockOncePerTurnOf(MainQueue& turns) { turns_ = &turns; }

    // Tries once more to save the changes not saved yet.
    void synchronize() override;
    // The keys whose changes are not saved yet, in order.
    std::vector<std::string> unsavedKeys() const;
    // At quit (only its first call counts): tries once more and says on standard error which
    // changes are lost when that fails, leaving out values the program stores again by itself.
    void saveBeforeQuitting();

protected:
    void persist(const std::string& key) override;

private:
    // A change not saved yet: what it does, when another writer's change outranks it, and the
    // value it was last applied to as read from the file (nothing until the file is read).
    struct KeptChange {
        Change change;
        ChangedByOthers changedByOthers;
        std::optional<std::optional<DefaultsValue>> seen;
    };
    struct UnsavedKey {
        std::vector<KeptChange> changes;
        bool derived = false; // only a value the program stores again by itself
    };

    void load();
    // Keeps `change` for `key` (an outright value replaces the changes kept before), writes every
    // unsaved key onto the file as it is on disk, and marks them saved when that worked; then tells
    // the observers of keys that took another writer's value. Nothing when written, else why not.
    std::string save(const std::string& key, KeptChange change, bool outright);
    std::string saveUnsaved();
    // Applies the kept changes to the file's values, leaving out those that another writer has
    // since outranked; forgets keys whose value the file already holds.
    void applyKeptChangesTo(const std::map<std::string, DefaultsValue>& onDisk);
    void report(const std::string& failure);

    std::filesystem::path file_;
    std::function<bool()> beforeReplace_;
    std::function<void(const std::string&)> onWriteFailure_;
    bool reportOpen_ = false;
    std::map<std::string, UnsavedKey> unsaved_;
    // Unsaved keys whose change alone would make the file too large: left out of a save that
    // would otherwise be refused, until there is room.
    std::set<std::string> tooLargeKeys_;
    // Keys whose value the program cannot read, with that value: while the file holds it, the file
    // is copied aside before a save replaces it.
    std::map<std::string, std::optional<DefaultsValue>> unreadable_;
    // Keys whose value here changed to what another writer saved, to be told once the save is over.
    std::vector<std::string> takenFromOthers_;
    bool storingDerived_ = false;
    bool quitting_ = false;
    MainQueue* turns_ = nullptr;
    bool lockWaitRanOut_ = false;
    ScheduledTask waitAgainNextTurn_;
};

} // namespace platform
