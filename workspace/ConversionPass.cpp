#include "workspace/ConversionPass.h"

#include "imaging/Fit.h"
#include "imaging/Jpeg.h"
#include "platform/Error.h"
#include "platform/TextEncoding.h"
#include "workspace/FolderNames.h"
#include "workspace/Prompt.h"

#include <chrono>
#include <limits>

namespace tess::workspace {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::int32_t parseInteger(const std::string& text) {
    const auto invalid = [&text] { return Error("'" + text + "' is not a valid integer value"); };
    std::size_t pos = 0;
    // Only spaces count as leading blanks; a tab cannot be typed into a parameter box.
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' &&
               (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) {
        throw invalid();
    }
    // The magnitude is gathered in 64 bits and checked against the signed 32-bit range after
    // every digit, hexadecimal included ("$FFFFFFFF" does not wrap to -1).
    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = hexDigit(text[pos]);
        if (digit < 0 || digit >= base) {
            throw invalid();
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            throw invalid();
        }
    }
    return std::int32_t(negative ? -magnitude : magnitude);
}

int progressPosition(int rowNumber, int rowCount) {
    if (rowCount <= 0) {
        return 0;
    }
    return int(imaging::roundHalfEven(100.0L * rowNumber / rowCount));
}

ConversionPass::ConversionPass(platform::FileSystem& fs, Prompt& prompt, FolderList& originals,
                               FolderList& reduced, FolderList& thumbnails)
    : m_fs(fs), m_prompt(prompt), m_originals(originals), m_reduced(reduced),
      m_thumbnails(thumbnails) {}

bool ConversionPass::start(const std::array<std::string, TextSettingCount>& texts) {
    // Read in this order, so that the first box that is not a number is the one reported.
    const int reducedHeight = parseInteger(texts[AFotoRidotte]);
    const int reducedWidth = parseInteger(texts[LFotoRidotte]);
    const int thumbHeight = parseInteger(texts[AFotoThumbs]);
    const int thumbWidth = parseInteger(texts[LFotoThumbs]);
    const int reducedQuality = parseInteger(texts[CFotoRidotte]);
    const int thumbQuality = parseInteger(texts[CFotoThumbs]);

    // A box of no size would write empty files in place of photos, and a side the JPEG format
    // cannot hold would fail only after a huge image had been made.
    const auto writable = [](int side) { return side > 0 && side <= imaging::kMaxJpegSide; };
    if (!writable(reducedHeight) || !writable(reducedWidth) || !writable(thumbHeight) ||
        !writable(thumbWidth)) {
        m_prompt.notice("Attenzione: errore nei parametri foto. Verificare.");
        return false;
    }
    if (!m_prompt.confirm("Procedo al ridimensionamento delle foto selezionate?"))
        return false;
    // The photos are read from the folder they were listed from; the copies go to the folders
    // in the boxes.
    m_source = m_originals.listedFolder;
    m_reducedOutput = {reducedWidth, reducedHeight, reducedQuality, texts[PercorsoFotoRidotte]};
    m_thumbnailOutput = {thumbWidth, thumbHeight, thumbQuality, texts[PercorsoFotoThumbs]};
    if (texts[PercorsoFotoOriginali].empty() || m_reducedOutput.folder.empty() ||
        m_thumbnailOutput.folder.empty()) {
        m_prompt.notice("Attenzione: errore nei percorsi foto. Verificare.");
        return false;
    }
    if (!checkNames())
        return false;
    const FoldedNames originals = namesOf(m_originals.table);
    prepareOutput(m_reducedOutput, originals);
    prepareOutput(m_thumbnailOutput, originals);
    m_originals.table.first();
    return true;
}

bool ConversionPass::checkNames() {
    // Where names ignore letter case (on Windows, a memory card), the copies of two marked
    // photos whose names differ only in it would land on one file.
    FoldedNames marked;
    const PhotoTable& table = m_originals.table;
    for (int i = 0; i < table.rowCount(); ++i) {
        const std::string& name = table.row(i).nomeFoto;
        if (table.row(i).selezionato != 1)
            continue;
        if (const std::vector<std::string>& earlier = marked.alike(name); !earlier.empty()) {
            m_prompt.notice("Attenzione: le foto \"" + platform::singleLineText(earlier.front()) +
                            "\" e \"" + platform::singleLineText(name) +
                            "\" differiscono solo per maiuscole e minuscole.\n"
                            "Le loro copie avrebbero lo stesso nome: rinominarne una.");
            return false;
        }
        marked.add(name);
    }
    return true;
}

void ConversionPass::prepareOutput(OutputSettings& output, const FoldedNames& originals) const {
    const std::vector<platform::FindEntry> entries = folderEntries(m_fs, output.folder);
    removeStaleTemporaries(m_fs, output.folder, entries,
                           std::chrono::system_clock::now() - kStaleTemporaryAge);
    const FoldedNames present = namesOf(entries);
    const PhotoTable& table = m_originals.table;
    for (int i = 0; i < table.rowCount(); ++i) {
        const std::string& name = table.row(i).nomeFoto;
        // A copy goes over the photo's own file; where the folder has only files of other
        // photos whose names differ in letter case, beside them, never over them.
        if (table.row(i).selezionato == 1 && !present.alike(name).empty() &&
            !matchingEntry(name, originals, present))
            output.newNames.insert(name);
    }
}

std::unique_ptr<ParallelConversion> ConversionPass::parallel(int workers,
                                                             std::int64_t memoryBudget) const {
    const PhotoTable& table = m_originals.table;
    std::vector<ParallelConversion::Row> rows;
    if (!table.eof()) {
        for (int i = table.currentIndex(); i < table.rowCount(); ++i)
            rows.push_back({table.row(i).nomeFoto, table.row(i).selezionato == 1});
    }
    return std::make_unique<ParallelConversion>(m_fs, m_source, m_reducedOutput, m_thumbnailOutput,
                                                std::move(rows), workers, memoryBudget);
}

int ConversionPass::advance(int rows) {
    PhotoTable& table = m_originals.table;
    const int target = table.currentIndex() + rows;
    if (rows > 1 && target < table.rowCount()) {
        table.moveTo(target);
    } else if (rows > 0) {
        // Past the last row the list ends as moving a row at a time would leave it: on the
        // last row, at its end.
        if (target >= table.rowCount())
            table.moveTo(table.rowCount() - 1);
        table.next();
    }
    return progressPosition(table.recNo(), table.rowCount());
}

void ConversionPass::finish() {
    rebuildOutputs();
    m_prompt.notice("Operazione completata");
}

void ConversionPass::rebuildOutputs() {
    m_reduced.rebuild(m_fs, m_reducedOutput.folder);
    m_thumbnails.rebuild(m_fs, m_thumbnailOutput.folder);
}

} // namespace tess::workspace
