#include "workspace/PhotoCommands.h"

#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "workspace/FolderNames.h"
#include "workspace/PhotoFiles.h"
#include "workspace/Prompt.h"

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

std::optional<std::string> PhotoCommands::thumbnailOf(const ListAt& reduced,
                                                      const ListAt& thumbnails,
                                                      const std::string& name) {
    return matchingEntry(name, namesOf(reduced.table()),
                         folderNames(m_fs, thumbnails.listedFolder()));
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
    const std::optional<std::string> thumbnail = thumbnailOf(reduced, thumbnails, name);
    if (!thumbnail || !m_fs.deleteFile(photoPath(thumbnails.listedFolder(), *thumbnail)))
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
    const std::optional<std::string> thumbnail = thumbnailOf(reduced, thumbnails, name);
    const bool thumbnailExists =
        thumbnail && m_fs.fileExists(photoPath(thumbnails.listedFolder(), *thumbnail));
    const RenameOutcome outcome = RinominaFoto(reduced.listedFolder(), name, std::string());
    reduced.rebuild(m_fs);
    if (thumbnailExists) {
        // The thumbnail follows only a reduced photo that was really renamed: otherwise the
        // pair would fall apart.
        if (outcome.renamed) {
            RinominaFoto(thumbnails.listedFolder(), *thumbnail, outcome.resultingName);
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

} // namespace tess::workspace
