// Info_A.ini read into the window at start.
#include "readers/reader.h"
#include "readers/settingsfiles.h"

void fuzzReader(const QByteArray& file) {
    TForm1& w = fuzzwin::window();
    settingsfiles::check(file, Configuration::InfoFile, [&](QString* error) {
        if (!w.Config->readInfo(error)) return false;
        w.Config->applySavedOrientations();
        return true;
    });
}
