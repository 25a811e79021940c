// Deleting and renaming the current photo; a reduced photo's thumbnail follows it.
#include "workspace/TRidFotoForm.h"

#include "dialogs/MessageBoxes.h"
#include "dialogs/TTavIn1Form.h"
#include "platform/FileSystem.h"
#include "workspace/PhotoFiles.h"

#include <QLabel>
#include <QLineEdit>

using tess::workspace::photoPath;

namespace {

const QString kDeleteQuestion = QStringLiteral("Confermare eliminazione foto?\n");
const QString kDeleteOriginal =
    kDeleteQuestion + QStringLiteral("La foto verrà cancellata permanentemente dal disco rigido");
const QString kDeleteReduced =
    kDeleteQuestion + QStringLiteral("La foto verrà cancellata permanentemente dal disco rigido "
                                     "assieme alla relativa foto thumb");

} // namespace

void TRidFotoForm::Cancella1Click() {
    if (!tess::ui::confirm(this, kDeleteOriginal))
        return;
    const std::string name = TabFotoOriginali.currentName();
    if (TabFotoOriginali.isEmpty())
        return;
    // A photo that cannot be deleted is left without a word; the list shows it again.
    m_fs.deleteFile(photoPath(text(EditPercorsoOrigine), name));
    TabFotoOriginali.deleteCurrent();
    CaricaListaFoto(text(EditPercorsoOrigine), TabFotoOriginali);
}

void TRidFotoForm::MenuItem3Click() {
    if (!tess::ui::confirm(this, kDeleteReduced))
        return;
    const std::string name = TabFotoRidotte.currentName();
    if (TabFotoRidotte.isEmpty())
        return;
    m_fs.deleteFile(photoPath(text(EditPercorsoRidotte), name));
    if (!m_fs.deleteFile(photoPath(text(EditpercorsoThumbs), name)))
        tess::ui::notice(this, QStringLiteral("Foto Thumb da cancellare non trovata"));
    CaricaListaFoto(text(EditPercorsoRidotte), TabFotoRidotte);
    CaricaListaFoto(text(EditpercorsoThumbs), TabFotoThumbs);
}

TRidFotoForm::RenameOutcome TRidFotoForm::RinominaFoto(const std::string& folder,
                                                       const std::string& oldName,
                                                       const std::string& newName) {
    RenameOutcome outcome{newName, false};
    if (outcome.resultingName.empty()) {
        const tess::workspace::NameParts parts = tess::workspace::splitExtension(oldName);
        TTavIn1Form dialog(this);
        dialog.setFont(font());
        dialog.Label1->setText(QStringLiteral("Nuovo nome foto (senza estensione):"));
        dialog.Edit1->setText(QString::fromStdString(parts.base));
        dialog.exec();
        if (dialog.Esito != 1)
            return outcome;
        const std::string typed = dialog.Edit1->text().toStdString();
        // A separator or a forbidden character would move the photo elsewhere or fail oddly.
        if (!tess::workspace::isAcceptableBaseName(typed, parts.extension)) {
            tess::ui::notice(this, QStringLiteral("Attenzione: nome foto non valido."));
            return outcome;
        }
        outcome.resultingName = typed + parts.extension;
    }
    // A name without an extension confirmed empty leaves nothing to rename to.
    if (!outcome.resultingName.empty())
        outcome.renamed =
            m_fs.moveFile(photoPath(folder, oldName), photoPath(folder, outcome.resultingName));
    return outcome;
}

void TRidFotoForm::RinominaFotoCorrente1Click() {
    if (TabFotoOriginali.isEmpty())
        return;
    RinominaFoto(text(EditPercorsoOrigine), TabFotoOriginali.currentName(), std::string());
    CaricaListaFoto(text(EditPercorsoOrigine), TabFotoOriginali);
}

void TRidFotoForm::MenuItem5Click() {
    if (TabFotoRidotte.isEmpty())
        return;
    const std::string name = TabFotoRidotte.currentName();
    const bool thumbnailExists = m_fs.fileExists(photoPath(text(EditpercorsoThumbs), name));
    const RenameOutcome outcome = RinominaFoto(text(EditPercorsoRidotte), name, std::string());
    CaricaListaFoto(text(EditPercorsoRidotte), TabFotoRidotte);
    if (thumbnailExists) {
        // The thumbnail follows only a reduced photo that was really renamed: otherwise the
        // pair would fall apart.
        if (outcome.renamed) {
            RinominaFoto(text(EditpercorsoThumbs), name, outcome.resultingName);
            CaricaListaFoto(text(EditpercorsoThumbs), TabFotoThumbs);
        }
    } else {
        tess::ui::notice(this, QStringLiteral("Attenzione: non è stata trovata la foto thumb "
                                              "relativa alla foto ridotta che si sta rinominando"));
    }
    // Both lists go to the photo: renamed, or as it was when its rename failed.
    const std::string shown =
        outcome.renamed || outcome.resultingName.empty() ? outcome.resultingName : name;
    TabFotoRidotte.locate(shown);
    TabFotoThumbs.locate(shown);
}
