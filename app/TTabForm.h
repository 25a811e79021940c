#pragma once

#include <string>

// The project holder: fixes the company name and the settings file's path for the whole run.
// It is never shown, so it is a plain object.
class TTabForm {
public:
    // `startDirectory` is the main window's start-up directory, ending in "\"; empty when the
    // directory was already gone at start-up.
    explicit TTabForm(const std::string& startDirectory);

    void LetturaNomeProgetto();

    std::string NomeDitta;     // shown after "Ditta: " in window titles
    std::string PercorsoAvvio; // the start-up directory, ending in "\"
    std::string FileIni;       // the settings file: PercorsoAvvio + "Tessaluma.ini"; empty
                               // when the start-up directory could not be told
};
