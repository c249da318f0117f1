#pragma once
// Lends the corrections of the table grid what the window knows: the archive and its rows
// (whole or the chart's page), the sensor 1 the module reported with the wideband choice of
// the parameter list and the connection way, the module's identifier, the settings file
// beside the configuration files and the error box.

class CorrectionsController;
class TForm1;

CorrectionsController* feedCorrections(TForm1& window);
