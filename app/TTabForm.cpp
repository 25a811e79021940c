#include "app/TTabForm.h"

TTabForm::TTabForm(const std::string& startDirectory) {
    PercorsoAvvio = startDirectory;
    // The start directory already ends in "\": no separator is added. Without one the settings
    // have no place: never the root.
    if (!PercorsoAvvio.empty())
        FileIni = PercorsoAvvio + "Tessaluma.ini";
    LetturaNomeProgetto();
}

void TTabForm::LetturaNomeProgetto() {
    NomeDitta = "Tessaluma";
}
