#include "WorkspaceFixture.h"

#include "workspace/Settings.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace tess::test;

namespace {

class WorkspaceSettings : public WorkspaceTest {};

} // namespace

TEST_F(WorkspaceSettings, APastedTextKeepsOnlyItsFirstLineAndTheSettingsAreSaved) {
    writeSettings();
    ModalDriver driver;
    {
        auto form = openWorkspace();
        auto* box = control<QLineEdit>(*form, "EditPercorsoOrigine");
        struct Case {
            const char* before;
            int caret;
            const char* pasted;
            const char* after;
        };
        const Case cases[] = {
            {"", 0, "C:\\Foto\\\r\n", "C:\\Foto\\"},
            {"C:\\Mare", 3, "Foto\\\nAltro\r\nTerzo", "C:\\Foto\\Mare"},
            {"C:\\", 3, "\nAltro", "C:\\"},
        };
        for (const Case& c : cases) {
            box->setText(QString::fromUtf8(c.before));
            box->setCursorPosition(c.caret);
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
            box->paste();
            EXPECT_EQ(box->text(), QString::fromUtf8(c.after)) << c.pasted;
        }
        setText(*form, "EditCThumbs", "70");
        form->close();
    }
    expectBoxes(driver, {});
    const std::string ini = dir.read("Tessaluma.ini");
    EXPECT_NE(ini.find("PercorsoFotoOriginali=C:\\\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("CFotoThumbs=70\r\n"), std::string::npos) << ini;
}

TEST_F(WorkspaceSettings, AGoneStartFolderIsToldOnceAnOpeningAndNothingIsWritten) {
    const QString gone = QString::fromUtf8(tess::workspace::kSettingsFolderGone);
    for (const std::string& iniPath : {dir.win("gone") + "\\Tessaluma.ini", std::string()}) {
        const tess::workspace::Project goneHolder{"Tessaluma", iniPath};
        ModalDriver driver;
        driver.accept();
        driver.accept();
        for (int opening = 0; opening < 2; ++opening) {
            auto form = std::make_unique<TRidFotoForm>(nullptr, goneHolder, fs);
            EXPECT_EQ(control<QLineEdit>(*form, "EditLRidotte")->text(), QStringLiteral("800"));
            setText(*form, "EditLRidotte", "1");
            form->close();
        }
        expectBoxes(driver, {gone, gone});
    }
    EXPECT_FALSE(dir.exists("gone"));
    EXPECT_FALSE(dir.exists("Tessaluma.ini"));
}
