// Config_A.ini (the chart masks per sensor configuration) read into the window at start.
#include "readers/reader.h"
#include "readers/settingsfiles.h"

void fuzzReader(const QByteArray& file) {
    TForm1& w = fuzzwin::window();
    settingsfiles::check(file, Configuration::ConfigFile, [&](QString* error) { return w.Config->readConfig(error); });
}
