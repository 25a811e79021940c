#pragma once

#include <optional>
#include <string>

namespace tess::workspace {

// What the workspace's commands ask of the user. The window answers with its real boxes; tests
// answer from a script. Texts are UTF-8.
class Prompt {
public:
    virtual ~Prompt() = default;
    // A question with OK and Cancel: true only for OK.
    virtual bool confirm(const std::string& text) = 0;
    // A notice with one OK button.
    virtual void notice(const std::string& text) = 0;
    // Asks for a photo's new base name, offering `base`; nullopt when the user does not
    // confirm.
    virtual std::optional<std::string> askName(const std::string& question,
                                               const std::string& base) = 0;
    // Shows a failure that ends no command (the settings that cannot be saved on closing).
    virtual void reportError(const std::string& message) = 0;
};

} // namespace tess::workspace
