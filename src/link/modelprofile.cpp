#include "link/modelprofile.h"

#include "common/numtext.h"

namespace profiles {

const ModelProfile& tr70() {
    static const ModelProfile p = [] {
        ModelProfile m;
        m.model = QStringLiteral("TR-70");
        m.enablesChartStart = true;
        return m;
    }();
    return p;
}

const ModelProfile& tr90() {
    static const ModelProfile p = [] {
        ModelProfile m;
        m.model = QStringLiteral("TR-90");
        m.zirconiaOnly = true;
        m.twoCurveViews = true;
        m.modeChoice = false;
        // The module works as an emulator of two zirconia sensors: nothing of the offset
        // connection, the corrections or the operating system is adjustable.
        m.dimmedGroups = {
            QStringLiteral("gb_LAMBDA_U_Max"),     QStringLiteral("gb_LAMBDA_U_otn"),
            QStringLiteral("gb_LAMBDA_1_Korr"),    QStringLiteral("gb_DMRV_Korr"),
            QStringLiteral("gb_DMRV_K_Korr"),      QStringLiteral("gb_Other_Point_Korr"),
            QStringLiteral("gb_Other_Spada_Korr"), QStringLiteral("gb_DMRV_Porog_Korr"),
            QStringLiteral("gb_LAMBDA_Way"),       QStringLiteral("gb_LAMBDA_StepSmesi"),
            QStringLiteral("gb_Other_Mode"),       QStringLiteral("gb_Other_System"),
        };
        m.activeGroups = {QStringLiteral("gb_LAMBDA_2")};
        m.correctionModeRule = false;
        m.learningFromBit = true;
        m.offsetWayOnly = true;
        m.plainSensorRows = true;
        m.analogDimsRange = true;
        return m;
    }();
    return p;
}

const ModelProfile* forModel(const QString& model) {
    for (const ModelProfile* p : {&tr70(), &tr90()})
        if (p->model == model) return p;
    return nullptr;
}

QStringList groupsDimmedByAnyProfile() {
    QStringList out;
    for (const ModelProfile* p : {&tr70(), &tr90()})
        for (const QString& g : p->dimmedGroups)
            if (!out.contains(g)) out << g;
    return out;
}

double digitalMafFrequency(const DigitPair& b4D, const DigitPair& b4E) {
    if (!b4D.valid() || !b4E.valid()) return 0;
    const double v = b4E.d2 * 4096 + b4E.d1 * 256 + b4D.d2 * 16 + b4D.d1;
    if (v == 0) return 0;
    const double f = qMin(10000 / v, 10000.0);
    return roundHalfEven(f * 100) / 100;
}

double fuelCalibration(const DigitPair& b74, const DigitPair& b75) {
    if (!b74.valid() || !b75.valid()) return -1;
    return b75.d2 * 4096 + b75.d1 * 256 + b74.d2 * 16 + b74.d1;
}

QString sensorCode(const QString& type1, const QString& type2, Way way, bool digitalMaf) {
    auto sensor = [way](const QString& type) {
        if (type == kWidebandSensor) return QStringLiteral("WW");
        if (type != kZirconiaSensor) return QString();
        switch (way) {
        case Way::Offset:
            return QStringLiteral("ZS");
        case Way::Normal:
            return QStringLiteral("ZO");
        case Way::None:
            break;
        }
        return QStringLiteral("Z");
    };
    return sensor(type1) + sensor(type2) + (digitalMaf ? QLatin1Char('C') : QLatin1Char('A'));
}

} // namespace profiles
