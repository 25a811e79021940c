#pragma once

#include "app/TTabForm.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QAction;
class QMenu;
class QMenuBar;

namespace tess::platform {
class FileSystem;
}

// The main window: an empty client area under a menu that opens the photo resizing
// workspace and the about box, and ends the program. It owns the project holder from its
// creation until it closes.
class TBaseMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TBaseMainForm(tess::platform::FileSystem& fs, QWidget* parent = nullptr);
    ~TBaseMainForm() override;

    // The window size without the frame the window manager adds, menu bar included.
    static constexpr int kWidth = 427;
    static constexpr int kHeight = 272;

    void FormCreate();
    void FormClose();
    void Esci1Click();
    void GestioneFoto2Click();
    void Informazioni1Click();

    // The working directory at start-up, always ending in "\".
    std::string PercorsoAvvio;
    std::unique_ptr<TTabForm> TabForm;

    QMenuBar* MainMenu1;
    QMenu* Sistema1;
    QAction* Esci1;
    QMenu* GestioneFoto1;
    QAction* GestioneFoto2;
    QMenu* Info1;
    QAction* Informazioni1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption,
                        void (TBaseMainForm::*handler)());

    tess::platform::FileSystem& m_fs;
    bool m_closed = false;
};
