#pragma once

#include "ModalDriver.h"
#include "TempDir.h"
#include "WindowTest.h"

#include "app/TTabForm.h"
#include "platform/PosixFileSystem.h"
#include "workspace/TRidFotoForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tess::test {

// The real layer, counting the whole-file reads: what a preview or a conversion costs.
class CountingFileSystem final : public platform::PosixFileSystem {
public:
    std::vector<std::uint8_t> readFile(const std::string& path) override {
        reads.push_back(path);
        return platform::PosixFileSystem::readFile(path);
    }
    std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string& path,
                                                          std::size_t maxSize) override {
        reads.push_back(path);
        return platform::PosixFileSystem::readFileUpTo(path, maxSize);
    }
    std::vector<std::string> reads;
};

// A workspace over three scratch folders (originali, ridotte, thumbs) whose settings file
// lies in the scratch folder, as if the program had started there.
class WorkspaceTest : public WindowTest {
protected:
    WorkspaceTest();

    // Writes the settings file: the three folders, the originals preview switch and any extra
    // "Key=Value" lines.
    void writeSettings(bool originalsPreview = true, const std::string& extra = {});
    std::unique_ptr<TRidFotoForm> openWorkspace();
    // A photo-like JPEG of the given size at dir/relative.
    void photo(const std::string& relative, int width, int height, bool progressive = false);

    template <class T = QWidget> T* control(TRidFotoForm& form, const char* name) {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
    void trigger(TRidFotoForm& form, const char* action) {
        control<QAction>(form, action)->trigger();
    }
    void setText(TRidFotoForm& form, const char* edit, const std::string& text) {
        control<QLineEdit>(form, edit)->setText(QString::fromStdString(text));
    }
    static std::vector<std::string> names(const workspace::PhotoTable& table);

    TempDir dir;
    CountingFileSystem fs;
    TTabForm holder;
    std::string originals, reduced, thumbs; // Windows folder texts ending in "\"
};

// Expects the driver to have seen exactly these message box texts, and no problem.
void expectBoxes(const ModalDriver& driver, const QStringList& texts);

} // namespace tess::test
