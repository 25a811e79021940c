#pragma once

#include "workspace/Conversion.h"
#include "workspace/ParallelConversion.h"
#include "workspace/PhotoList.h"
#include "workspace/Settings.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

// What the file commands ask of the user. The window answers with its real boxes; tests answer
// from a script. Texts are UTF-8.
class Prompt {
public:
    virtual ~Prompt() = default;
    // A question with OK and Cancel: true only for OK.
    virtual bool confirm(const std::string& text) = 0;
    // A notice with one OK button.
    virtual void notice(const std::string& text) = 0;
    // Asks for a photo's new base name, offering `base`; nullopt when the user does not
    // confirm.
    virtual std::optional<std::string> askName(const std::string& question,
                                               const std::string& base) = 0;
    // Shows a failure that ends no command (the settings that cannot be saved on closing).
    virtual void reportError(const std::string& message) = 0;
};

// A list as a command sees it: the folder text now in its box, and the list itself. The
// commands act on the files of the folder the list was built from, which is what the user sees
// listed, and rebuild the list from the box.
struct ListAt {
    std::string folder;
    FolderList& list;

    PhotoTable& table() const { return list.table; }
    const std::string& listedFolder() const { return list.listedFolder; }
    std::string currentPath() const;
    void rebuild(platform::FileSystem& fs) const { list.rebuild(fs, folder); }
};

// The outcome of a rename: the name used (empty when the user did not confirm one) and
// whether the file was renamed.
struct RenameOutcome {
    std::string resultingName;
    bool renamed = false;
};

// Deleting and renaming the current photo of a list; a reduced photo's thumbnail follows it.
// Failures of the file layer or of a rebuild propagate to the caller.
class PhotoCommands {
public:
    PhotoCommands(platform::FileSystem& fs, Prompt& prompt) : m_fs(fs), m_prompt(prompt) {}

    void deleteOriginal(const ListAt& originals);
    void deleteReduced(const ListAt& reduced, const ListAt& thumbnails);
    void renameOriginal(const ListAt& originals);
    void renameReduced(const ListAt& reduced, const ListAt& thumbnails);

    // Renames folder + oldName to folder + newName without replacing; an empty newName asks
    // the user for the base name (the extension is kept).
    RenameOutcome RinominaFoto(const std::string& folder, const std::string& oldName,
                               const std::string& newName);

private:
    platform::FileSystem& m_fs;
    Prompt& m_prompt;
};

// A conversion pass over the originals list: every marked original becomes a reduced copy and
// a thumbnail. start() checks and asks; then step() handles one row at a time until done(),
// so a caller can let the window breathe, or stop, between two rows; finish() rebuilds the
// output lists and says so. The first failure ends the pass where it happened, by an
// exception, and the output lists are then not rebuilt.
class ConversionPass {
public:
    ConversionPass(platform::FileSystem& fs, Prompt& prompt, FolderList& originals,
                   FolderList& reduced, FolderList& thumbnails);

    // Reads the six numbers from the texts of the path and parameter boxes (in the order of
    // the settings file's keys), asks for confirmation and checks the folders. False when the
    // pass is not to run (the user has been told why, or declined); a text that is not a
    // number throws.
    bool start(const std::array<std::string, TextSettingCount>& texts);
    bool done() const;
    // Converts the current row when it is marked and moves on; returns the progress bar's
    // new position.
    int step();
    // The rows the pass has still to handle, from the current one, converted on `workers`
    // threads and written in row order (see ParallelConversion). Report each row it finishes
    // with advance(), on the thread that owns the lists.
    std::unique_ptr<ParallelConversion> parallel(int workers) const;
    // Moves on past the current row, already converted or passed over; returns the progress
    // bar's new position.
    int advance();
    // Rebuilds the output lists and says the pass is done.
    void finish();
    // Rebuilds the output lists only, after a pass the user stopped.
    void rebuildOutputs();

private:
    platform::FileSystem& m_fs;
    Prompt& m_prompt;
    FolderList& m_originals;
    FolderList& m_reduced;
    FolderList& m_thumbnails;
    std::string m_source;
    OutputSettings m_reducedOutput;
    OutputSettings m_thumbnailOutput;
};

// Writes the settings; a failure is shown and goes no further, so a window can still close.
void saveSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings,
                  Prompt& prompt);

} // namespace tess::workspace
