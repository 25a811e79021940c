#pragma once

#include "ModalDriver.h"
#include "TempDir.h"
#include "WindowTest.h"

#include "platform/SystemFileSystem.h"
#include "window/TRidFotoForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tess::test {

// The real layer, counting the whole-file reads: what a preview or a conversion costs. Reads
// come from several threads during a conversion; beforeRead, when set, runs on the reading
// thread before each read.
class CountingFileSystem final : public platform::SystemFileSystem {
public:
    std::vector<std::uint8_t> readFile(const std::string& path) override {
        {
            const std::lock_guard lock(m_mutex);
            reads.push_back(path);
        }
        if (beforeRead)
            beforeRead(path);
        return platform::SystemFileSystem::readFile(path);
    }
    std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string& path,
                                                          std::size_t maxSize) override {
        {
            const std::lock_guard lock(m_mutex);
            reads.push_back(path);
        }
        if (beforeReadUpTo)
            beforeReadUpTo(path);
        if (beforeRead)
            beforeRead(path);
        return platform::SystemFileSystem::readFileUpTo(path, maxSize);
    }
    std::string defaultPhotoFolder() override { return startFolder; }

    std::vector<std::string> reads;
    std::function<void(const std::string& path)> beforeRead;
    std::string startFolder; // where the lists start with no settings file
    // Runs before beforeRead on the reads of at most some bytes, which only previews do.
    std::function<void(const std::string& path)> beforeReadUpTo;

private:
    std::mutex m_mutex;
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
    // A photo-like JPEG of the given size at dir/relative: red grows to the right and green
    // downwards. The Exif orientation tag is written for 2 to 8.
    void photo(const std::string& relative, int width, int height, bool progressive = false,
               int orientation = 0);

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
    workspace::Project holder;              // the settings file lies in the scratch folder
    std::string originals, reduced, thumbs; // Windows folder texts ending in "\"
    std::string pictures;                   // where the lists start: "Immagini\"
};

// Lets the window process its events until every preview it has asked for is shown, and the
// box of a failed one answered; fails the test if that takes more than 10 s.
void waitForPreviews(TRidFotoForm& form);

// Expects the driver to have seen exactly these message box texts, and no problem.
void expectBoxes(const ModalDriver& driver, const QStringList& texts);

} // namespace tess::test
