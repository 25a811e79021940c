#include "workspace/PhotoCommands.h"

#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "workspace/PhotoFiles.h"

#include <algorithm>
#include <exception>

namespace tess::workspace {
namespace {

const std::string kDeleteQuestion = "Confermare eliminazione foto?\n";
const std::string kDeleteOriginal =
    kDeleteQuestion + "La foto verrà cancellata permanentemente dal disco rigido";
const std::string kDeleteReduced = kDeleteQuestion +
                                   "La foto verrà cancellata permanentemente dal disco rigido "
                                   "assieme alla relativa foto thumb";

} // namespace

std::string ListAt::currentPath() const {
    return photoPath(listedFolder(), table().currentName());
}

void PhotoCommands::deleteOriginal(const ListAt& originals) {
    if (!m_prompt.confirm(kDeleteOriginal))
        return;
    if (originals.table().isEmpty())
        return;
    // A photo that cannot be deleted is left without a word; the list shows it again.
    m_fs.deleteFile(originals.currentPath());
    originals.table().deleteCurrent();
    originals.rebuild(m_fs);
}

void PhotoCommands::deleteReduced(const ListAt& reduced, const ListAt& thumbnails) {
    if (!m_prompt.confirm(kDeleteReduced))
        return;
    if (reduced.table().isEmpty())
        return;
    const std::string name = reduced.table().currentName();
    m_fs.deleteFile(reduced.currentPath());
    if (!m_fs.deleteFile(photoPath(thumbnails.listedFolder(), name)))
        m_prompt.notice("Foto Thumb da cancellare non trovata");
    reduced.rebuild(m_fs);
    thumbnails.rebuild(m_fs);
}

RenameOutcome PhotoCommands::RinominaFoto(const std::string& folder, const std::string& oldName,
                                          const std::string& newName) {
    RenameOutcome outcome{newName, false};
    if (outcome.resultingName.empty()) {
        const NameParts parts = splitExtension(oldName);
        // A name that is not UTF-8 is offered as text by its Windows-1252 reading, and what
        // comes back is written in that encoding again, so its bytes survive the round trip.
        const std::string offered =
            platform::isValidUtf8(oldName) ? parts.base : platform::windows1252ToUtf8(parts.base);
        const std::optional<std::string> typed =
            m_prompt.askName("Nuovo nome foto (senza estensione):", offered);
        if (!typed)
            return outcome;
        const std::string base = platform::bytesLike(oldName, *typed);
        // A separator or a forbidden character would move the photo elsewhere or fail oddly.
        if (!isAcceptableBaseName(base, parts.extension)) {
            m_prompt.notice("Attenzione: nome foto non valido.");
            return outcome;
        }
        outcome.resultingName = base + parts.extension;
    }
    // A name without an extension confirmed empty leaves nothing to rename to.
    if (!outcome.resultingName.empty())
        outcome.renamed =
            m_fs.moveFile(photoPath(folder, oldName), photoPath(folder, outcome.resultingName));
    return outcome;
}

void PhotoCommands::renameOriginal(const ListAt& originals) {
    if (originals.table().isEmpty())
        return;
    RinominaFoto(originals.listedFolder(), originals.table().currentName(), std::string());
    originals.rebuild(m_fs);
}

void PhotoCommands::renameReduced(const ListAt& reduced, const ListAt& thumbnails) {
    if (reduced.table().isEmpty())
        return;
    const std::string name = reduced.table().currentName();
    const bool thumbnailExists = m_fs.fileExists(photoPath(thumbnails.listedFolder(), name));
    const RenameOutcome outcome = RinominaFoto(reduced.listedFolder(), name, std::string());
    reduced.rebuild(m_fs);
    if (thumbnailExists) {
        // The thumbnail follows only a reduced photo that was really renamed: otherwise the
        // pair would fall apart.
        if (outcome.renamed) {
            RinominaFoto(thumbnails.listedFolder(), name, outcome.resultingName);
            thumbnails.rebuild(m_fs);
        }
    } else {
        m_prompt.notice("Attenzione: non è stata trovata la foto thumb relativa alla foto "
                        "ridotta che si sta rinominando");
    }
    // Both lists go to the photo: renamed, or as it was when its rename failed.
    const std::string shown =
        outcome.renamed || outcome.resultingName.empty() ? outcome.resultingName : name;
    reduced.table().locate(shown);
    thumbnails.table().locate(shown);
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
    m_originals.table.first();
    return true;
}

bool ConversionPass::done() const {
    return m_originals.table.eof();
}

int ConversionPass::step() {
    const PhotoTable& table = m_originals.table;
    if (table.currentMark() == 1)
        convertToReducedAndThumbnail(m_fs, table.currentName(), m_source, m_reducedOutput,
                                     m_thumbnailOutput);
    return advance();
}

std::unique_ptr<ParallelConversion> ConversionPass::parallel(int workers) const {
    const PhotoTable& table = m_originals.table;
    std::vector<ParallelConversion::Row> rows;
    if (!table.eof()) {
        for (int i = table.currentIndex(); i < table.rowCount(); ++i)
            rows.push_back({table.row(i).nomeFoto, table.row(i).selezionato == 1});
    }
    return std::make_unique<ParallelConversion>(m_fs, m_source, m_reducedOutput, m_thumbnailOutput,
                                                std::move(rows), workers);
}

int ConversionPass::advance() {
    PhotoTable& table = m_originals.table;
    table.next();
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

void saveSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings,
                  Prompt& prompt) {
    try {
        writeSettings(fs, iniPath, settings);
    } catch (const std::exception& error) {
        prompt.reportError(error.what());
    }
}

} // namespace tess::workspace
