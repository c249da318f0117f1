#pragma once
// What the demo ports' simulated module does beyond answering correctly: the faults of a
// loose cable or a module that refuses writes, other sensors, and the engine's mixture that
// answers the MAF table. A technician (or a trainer) switches them on before starting the
// tool with the environment variable MODULETOOL_DEMO, a comma-separated list, e.g.
//     MODULETOOL_DEMO=wideband,tuning-cycle,speed=4 scripts/run.sh
// Every demo connection starts a fresh simulated module with these options.

#include "sim/mixture.h"
#include "sim/simmodule.h"

#include <QString>
#include <QStringView>

namespace sim {

struct DemoOptions {
    Faults faults;
    Equipment equipment;
    MixtureOptions mixture;
    double timeScale = 1; // engine seconds per second of the clock
};

// The name of the environment variable the demo ports read.
inline constexpr char DemoOptionsVariable[] = "MODULETOOL_DEMO";

// Reads the switches:
//   silent-after=N   answer the first N command items of a connection, then nothing
//                    (N from 1 to 1000000)
//   refuse-writes    answer every write and action with "?"
//   wideband, wideband2, digital-maf   the sensors fitted (Lambda 1, Lambda 2, the MAF)
//   mixture          the engine burns what the MAF table gives it (hidden fuelling errors)
//   tuning-cycle     the mixture, driven through steady holds for tuning
//   speed=X          the engine runs X times faster than the clock (0.1 to 20)
// Blanks around switches are ignored, an empty text switches nothing on. An unknown switch
// or a number out of its range is an error: *error names it and the result is all off, so a
// typing mistake never leaves half the options in force.
DemoOptions parseDemoOptions(QStringView text, QString* error);

// Puts the options on a module that has not started serving yet.
void applyDemoOptions(SimModule& module, const DemoOptions& options);

} // namespace sim
