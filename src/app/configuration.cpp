#include "app/configuration.h"

#include "link/modelprofile.h"
#include "link/operationcontext.h"
#include "link/tbcomport.h"
#include "settings/modeswitches.h"
#include "settings/settingspanel.h"
#include "surface/surfaceview.h"
#include "tables/curvepanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"

#include <QComboBox>
#include <QFileInfo>
#include <QToolButton>

const QString Configuration::InfoFile = QStringLiteral("Info_A.ini");
const QString Configuration::ConfigFile = QStringLiteral("Config_A.ini");

namespace {

void toSaved(const Orientation& o, cfg::SavedOrientation& s) {
    s = {o.ry, o.rx, o.rz, o.vLeft, o.vRight, o.vBottom, o.vTop};
}

void fromSaved(const cfg::SavedOrientation& s, Orientation& o) {
    o.ry = float(s[0]);
    o.rx = float(s[1]);
    o.rz = float(s[2]);
    o.vLeft = float(s[3]);
    o.vRight = float(s[4]);
    o.vBottom = float(s[5]);
    o.vTop = float(s[6]);
}

} // namespace

Configuration::Configuration(ConfigurationParts parts) : m_parts(std::move(parts)) {}

// --- what the file holds of each part of the window ---------------------------------

void Configuration::collect(cfg::Info& info) const {
    const ConfigurationParts& w = m_parts;
    info.Enum_Com_Ports_prev = Ports_Found;
    info.Index_COM_Port = w.port->currentIndex();
    info.Index_K = w.settings->ui.cb_K->currentIndex();
    info.Index_V_Graf = w.chartInterval->currentIndex();
    w.chart->collectConfiguration(info);
    const ParamPanel* params = w.params;
    params->collectConfiguration(info);
    info.Type_In_WidthLine_ZOND1 = params->widebandCurrent(1) ? QStringLiteral("1") : QStringLiteral("0");
    info.Type_In_WidthLine_ZOND2 = params->widebandCurrent(2) ? QStringLiteral("1") : QStringLiteral("0");
    const SurfaceView* view = w.surface;
    toSaved(view->Orient_Saved_MAF, info.Saved_MAF);
    toSaved(view->Orient_Saved_Lambda, info.Saved_Lambda);
    w.curve->collectConfiguration(info);
    // The flag in front says the language (the window itself may be hidden already).
    info.language = w.englishFlag->isHidden() ? QStringLiteral("Rus") : QStringLiteral("Eng");
}

void Configuration::apply(const cfg::Info& info) {
    const ConfigurationParts& w = m_parts;
    // An index outside the list keeps the window's choice.
    if (info.Index_V_Graf >= 0 && info.Index_V_Graf < w.chartInterval->count())
        w.chartInterval->setCurrentIndex(info.Index_V_Graf);
    w.chart->applyConfiguration(info);
    w.params->applyConfiguration(info); // the averaging button and the colours
    w.curve->applyConfiguration(info);
    if (info.language == QLatin1String("Rus") && w.setRussian) w.setRussian();
    if (info.language == QLatin1String("Eng") && w.setEnglish) w.setEnglish();
    // The wideband choices wait for the optimizer view, which offers them; the boxes keep
    // them meanwhile, so that a run without a wideband sensor does not lose them.
    w.modes->Type_In_WidthLine_ZOND1 = info.Type_In_WidthLine_ZOND1;
    w.modes->Type_In_WidthLine_ZOND2 = info.Type_In_WidthLine_ZOND2;
    w.params->setWidebandCurrent(1, info.Type_In_WidthLine_ZOND1 == QLatin1String("1"));
    w.params->setWidebandCurrent(2, info.Type_In_WidthLine_ZOND2 == QLatin1String("1"));
}

// --- start --------------------------------------------------------------------------

bool Configuration::readInfo(QString* error) {
    if (!QFileInfo::exists(InfoFile)) {
        // First run: the window's own values are the settings, and the file says so.
        collect(Info);
        return cfg::writeLines(InfoFile, cfg::infoLines(Info), error);
    }
    textlines::Lines lines;
    if (!cfg::readFile(InfoFile, &lines, error)) return false;
    // Each line on its own: a bad value keeps its control's own value, every other value
    // applies, and the file written at the next disconnect keeps them all.
    cfg::Info read;
    collect(read);
    if (!cfg::parseInfo(lines, &read, error)) *error = InfoFile + QStringLiteral(": ") + *error;
    Info = read;
    apply(Info);
    return true;
}

void Configuration::applySavedOrientations() {
    SurfaceView* view = m_parts.surface;
    fromSaved(Info.Saved_MAF, view->Orient_Saved_MAF);
    fromSaved(Info.Saved_Lambda, view->Orient_Saved_Lambda);
}

void Configuration::selectPort() {
    QComboBox* cb = m_parts.port;
    const int demoPorts = int(TBComPort::demoPortNames().size());
    const int i = cfg::selectPort(Info.Enum_Com_Ports_prev, Info.Index_COM_Port, cb->count(), demoPorts);
    if (i >= 0 && i < cb->count()) cb->setCurrentIndex(i);
}

bool Configuration::readConfig(QString* error) {
    if (!QFileInfo::exists(ConfigFile)) return cfg::writeLines(ConfigFile, cfg::configLines(Masks), error);
    textlines::Lines lines;
    if (!cfg::readFile(ConfigFile, &lines, error)) return false;
    // A bad line costs its own code's mask only (that code keeps the default).
    if (!cfg::parseConfig(lines, &Masks, error)) {
        *error = ConfigFile + QStringLiteral(": ") + *error;
        return false;
    }
    return true;
}

// --- connection and disconnect ------------------------------------------------------

QString Configuration::takeMaskFor(const QString& code) {
    Current_Mask = Masks.maskFor(code, Current_Mask);
    return Current_Mask;
}

QString Configuration::currentCode() const {
    const auto& ui = m_parts.settings->ui;
    const ModuleFacts& m = *m_parts.module;
    const profiles::Way way = ui.atb_LAMBDA_Way_Displacement->isChecked() ? profiles::Way::Offset
                              : ui.atb_LAMBDA_Way_Normal->isChecked()     ? profiles::Way::Normal
                                                                          : profiles::Way::None;
    return profiles::sensorCode(m.Ed_Type_Datchik_1_RU, m.Ed_Type_Datchik_2_RU, way,
                                ui.atb_DMRV_Type_Digital->isChecked());
}

bool Configuration::write(QString* error) {
    Masks.store(currentCode(), m_parts.params->chartMask());
    collect(Info);
    QStringList failed;
    QString e;
    if (!cfg::writeLines(ConfigFile, cfg::configLines(Masks), &e)) failed << e;
    if (!cfg::writeLines(InfoFile, cfg::infoLines(Info), &e)) failed << e;
    if (failed.isEmpty()) return true;
    *error = failed.join(QLatin1Char('\n'));
    return false;
}
