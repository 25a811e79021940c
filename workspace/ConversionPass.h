#pragma once

#include "workspace/Conversion.h"
#include "workspace/FolderNames.h"
#include "workspace/ParallelConversion.h"
#include "workspace/PhotoList.h"
#include "workspace/Settings.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

class Prompt;

// Reads a parameter box as an integer: leading blanks, an optional sign, then decimal digits,
// or hexadecimal digits after "$" or "0x". Anything else (trailing blanks, an empty text, a
// value outside 32 bits) throws tess::Error("'<text>' is not a valid integer value").
std::int32_t parseInteger(const std::string& text);

// The progress bar's position after moving to `rowNumber` (1-based) of `rowCount` rows:
// 100 * row / count rounded half to even.
int progressPosition(int rowNumber, int rowCount);

// The conversion command's pass over the originals list: every marked original becomes a
// reduced copy and a thumbnail. start() checks and asks; parallel() hands the rows from the
// current one to a ParallelConversion, which converts them on its workers and reports each
// row it finishes, in order: advance() then moves the list on; finish() rebuilds the output
// lists and says so. A failure ends the pass on the row where it happened, and the output
// lists are then not rebuilt.
class ConversionPass {
public:
    ConversionPass(platform::FileSystem& fs, Prompt& prompt, FolderList& originals,
                   FolderList& reduced, FolderList& thumbnails);

    // Reads the six numbers from the texts of the path and parameter boxes (in the order of
    // the settings file's keys), asks for confirmation and checks the folders and the marked
    // names. False when the pass is not to run (the user has been told why, or declined); a
    // text that is not a number throws. When it starts, the temporary files a killed run left
    // in the output folders are gone and the originals list is on its first row.
    bool start(const std::array<std::string, TextSettingCount>& texts);
    // The rows the pass has still to handle, from the current one, to be converted on
    // `workers` threads within the memory budget and written in row order. Report the rows it
    // finishes with advance(), on the thread that owns the lists.
    std::unique_ptr<ParallelConversion>
    parallel(int workers, std::int64_t memoryBudget = defaultMemoryBudget()) const;
    // Moves on past `rows` rows from the current one, converted or passed over, in one move;
    // returns the progress bar's new position. Past the last row the list stays on it.
    int advance(int rows = 1);
    // Rebuilds the output lists and says the pass is done.
    void finish();
    // Rebuilds the output lists only, after a pass the user stopped.
    void rebuildOutputs();

private:
    // False, the user told why, when two marked photos have names that differ only in letter
    // case.
    bool checkNames();
    // Removes the temporary files a killed run left in the output's folder, and notes which
    // copies are new files beside other photos' files of names alike (matchingEntry).
    void prepareOutput(OutputSettings& output, const FoldedNames& originals) const;

    platform::FileSystem& m_fs;
    Prompt& m_prompt;
    FolderList& m_originals;
    FolderList& m_reduced;
    FolderList& m_thumbnails;
    std::string m_source;
    OutputSettings m_reducedOutput;
    OutputSettings m_thumbnailOutput;
};

} // namespace tess::workspace
