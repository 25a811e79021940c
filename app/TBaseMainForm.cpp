#include "app/TBaseMainForm.h"

#include "app/TInfoForm.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/Placement.h"
#include "platform/FileSystem.h"
#include "window/TRidFotoForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

TBaseMainForm::TBaseMainForm(tess::platform::FileSystem& fs, QWidget* parent)
    : QMainWindow(parent), m_fs(fs) {
    setObjectName(QStringLiteral("BaseMainForm"));
    setWindowTitle(QStringLiteral("Tessaluma"));
    setCentralWidget(new QWidget(this));
    buildMenu();
    resize(kWidth, kHeight);
    tess::ui::centreOnScreen(this);
    FormCreate();
}

TBaseMainForm::~TBaseMainForm() = default;

void TBaseMainForm::buildMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    Sistema1 = MainMenu1->addMenu(QStringLiteral("Sistema"));
    Sistema1->setObjectName(QStringLiteral("Sistema1"));
    Esci1 = addCommand(Sistema1, "Esci1", QStringLiteral("Esci"), &TBaseMainForm::Esci1Click);

    GestioneFoto1 = MainMenu1->addMenu(QStringLiteral("Foto"));
    GestioneFoto1->setObjectName(QStringLiteral("GestioneFoto1"));
    GestioneFoto2 =
        addCommand(GestioneFoto1, "GestioneFoto2", QStringLiteral("Ridimensionamento Foto"),
                   &TBaseMainForm::GestioneFoto2Click);

    Info1 = MainMenu1->addMenu(QStringLiteral("&Info"));
    Info1->setObjectName(QStringLiteral("Info1"));
    Informazioni1 = addCommand(Info1, "Informazioni1", QStringLiteral("&Informazioni"),
                               &TBaseMainForm::Informazioni1Click);
}

QAction* TBaseMainForm::addCommand(QMenu* menu, const char* name, const QString& caption,
                                   void (TBaseMainForm::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, handler] {
        tess::ui::runCommand(this, [this, handler] { (this->*handler)(); });
    });
    return action;
}

void TBaseMainForm::FormCreate() {
    PercorsoAvvio = m_fs.currentDirectory();
    // A drive's root ("C:\") already ends in the separator and keeps a single one; a directory
    // that could not be told (it was removed before the start) stays empty.
    if (!PercorsoAvvio.empty() && PercorsoAvvio.back() != '\\')
        PercorsoAvvio += '\\';
    TabForm = std::make_unique<TTabForm>(PercorsoAvvio);
    setWindowTitle(QString::fromStdString("Progetto Tessaluma - Ditta: " + TabForm->NomeDitta));
}

void TBaseMainForm::FormClose() {
    TabForm.reset();
}

void TBaseMainForm::Esci1Click() {
    close();
}

void TBaseMainForm::GestioneFoto2Click() {
    // A new workspace every time; closing it writes the settings back.
    auto workspace = std::make_unique<TRidFotoForm>(
        this, tess::workspace::Project{TabForm->NomeDitta, TabForm->FileIni}, m_fs);
    workspace->exec();
}

void TBaseMainForm::Informazioni1Click() {
    auto about = std::make_unique<TInfoForm>(this);
    about->exec();
}

void TBaseMainForm::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        FormClose();
    }
    QMainWindow::closeEvent(event);
}
