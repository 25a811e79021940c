#pragma once

#include "workspace/Prompt.h"

class QWidget;

namespace tess::workspace {

// Asks through the program's boxes and the value-input dialog, owned by `window` and in its
// font.
class WindowPrompt final : public Prompt {
public:
    explicit WindowPrompt(QWidget* window) : m_window(window) {}

    bool confirm(const std::string& text) override;
    void notice(const std::string& text) override;
    std::optional<std::string> askName(const std::string& question,
                                       const std::string& base) override;
    void reportError(const std::string& message) override;

private:
    QWidget* m_window;
};

} // namespace tess::workspace
