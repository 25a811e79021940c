#include "app/TTabForm.h"

TTabForm::TTabForm(const std::string& startDirectory) {
    PercorsoAvvio = startDirectory;
    // The start directory already ends in "\": no separator is added.
    FileIni = PercorsoAvvio + "Tessaluma.ini";
    LetturaNomeProgetto();
}

void TTabForm::LetturaNomeProgetto() {
    NomeDitta = "Tessaluma";
}
