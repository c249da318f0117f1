#include "tables/table3dpanel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidgetItem>

#include "common/messages.h"
#include "common/uitexts.h"
#include "icons/icons.h"
#include "tables/gridcelldelegate.h"
#include "tables/grideditor.h"

namespace {

const char* const kSpeedHeaders[8] = {"670", "780", "940", "1200", "1600", "2400", "4800", "10000"};
const char* const kMafVoltageHeaders[8] = {"0,0", "0,6", "1,3", "1,9", "2,5", "3,2", "3,8", "4,4"};
const char* const kInjectionTimeHeaders[8] = {"1,6", "2,4", "3,2", "4,0", "4,8", "5,6", "6,4", "7,2"};

// The look of one family; every colour of the panel that changes with the shown table.
struct FamilyLook {
    const char* panel;     // panels, navigator and its buttons, axis captions
    const char* buttons;   // the strip of table buttons; the load axis button that is down
    const char* cells;     // editable cells of the grid
    const char* fixed;     // header row and column of the grid
    const char* hot;       // end of the gradient under the mouse
    const char* pressed;   // navigator button while pressed
};

constexpr FamilyLook kMafLook{"#79BDD7", "#4FA8CA", "#D0EDF0", "#79BDD7", "#37A2B0", "#5AADCD"};
constexpr FamilyLook kLambdaLook{"#D8C09A", "#C5A056", "#F0E7D2", "#D8BF8D", "#CBAB69", "#D5BB86"};

QString styleSheetFor(const FamilyLook& l) {
    return QStringLiteral(
               "#Panel_Table3D { background: %1; border-left: 1px solid rgba(0,0,0,70); }\n"
               "#Panel_3D_Top, #Panel_3D_TopLeft, #Panel_3D_Left { background: %1; }\n"
               "#Panel_3D_Top, #Panel_3D_Left { font-weight: bold; }\n"
               "#Panel_btn_3D { background: %2; border-radius: 3px; }\n"
               "#Panel_btn_3D QToolButton { border: 1px solid transparent; border-radius: 3px; }\n"
               "#Panel_btn_3D QToolButton:hover { border-color: rgba(0,0,0,90);"
               "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %5); }\n"
               "#Panel_btn_3D QToolButton:pressed { background: %6; }\n"
               "#pnl_Navigator { background: %1; border: 1px solid rgba(0,0,0,70); border-radius: 3px; }\n"
               "#pnl_Navigator QToolButton { background: %1; border: 1px solid rgba(0,0,0,80);"
               "  border-radius: 3px; }\n"
               "#pnl_Navigator QToolButton:hover {"
               "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %5); }\n"
               "#pnl_Navigator QToolButton:pressed { background: %6; }\n"
               "#gb_KorrTab QToolButton { background: palette(button); border: 1px solid rgba(0,0,0,80);"
               "  border-radius: 3px; padding: 2px 6px; }\n"
               "#gb_KorrTab QToolButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
               "  stop:0 palette(button), stop:1 %1); }\n"
               "#gb_KorrTab QToolButton:checked { background: %2; font-weight: bold; }\n"
               "#sgrid_Table_3D { background: %3; gridline-color: rgba(0,0,0,60);"
               "  selection-background-color: %2; selection-color: black; }\n"
               "#sgrid_Table_3D QHeaderView::section { background: %4; border: none;"
               "  border-right: 1px solid rgba(0,0,0,60); border-bottom: 1px solid rgba(0,0,0,60);"
               "  padding: 0px; }\n"
               "#sgrid_Table_3D QTableCornerButton::section { background: %4; border: none;"
               "  border-right: 1px solid rgba(0,0,0,60); border-bottom: 1px solid rgba(0,0,0,60); }\n")
        .arg(QLatin1String(l.panel), QLatin1String(l.buttons), QLatin1String(l.cells),
             QLatin1String(l.fixed), QLatin1String(l.hot), QLatin1String(l.pressed));
}

bool isEnterKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

const QList<EditActions::Item>& menuItems() {
    static const QList<EditActions::Item> items{
        {"actSetValue"},     {"actAddValue"}, {"actScale"}, {""},          {"actInterpolateH"}, {"actInterpolateV"},
        {"actInterpolate2D"}, {"actSmooth"},   {""},         {"actCopy"},   {"actPaste"},        {""},
        {"actUndo"},         {"actRedo"},     {""},         {"actHeatMap"}, {"actCompare"},      {"actCompareTake"},
        {"actCompareEnd"},
    };
    return items;
}

constexpr int Side = tablecodec::Side;

// What the grid editor reads and writes of the three tables. A table lives in its model
// grid (the table grid adds what was typed but not committed); the voltage table is what
// its grid shows while shown, since its model keeps a read's full precision.
class TableGrid : public GridAdapter {
  public:
    explicit TableGrid(Table3DPanel* panel) : m_p(panel) {}

    QTableWidget* grid() const override { return m_p->ui.sgrid_Table_3D; }
    int width() const override { return Side; }
    int height() const override { return Side; }
    int tableCount() const override { return CorrectionTableCount; }
    std::optional<int> shown() const override {
        const std::optional<TableKind> t = m_p->shownTable();
        return t ? std::optional<int>(int(*t)) : std::nullopt;
    }
    TableKind kind(int table) const override { return TableKind(table); }
    QString cellText(int index) const override { return m_p->cellText(index % Side + 1, index / Side + 1); }

    UndoState capture(int table) const override {
        UndoState s;
        if (TableKind(table) == TableKind::Voltage && isShown(table)) {
            s.texts = m_p->tableCells();
            return s;
        }
        const ModelGrid& model = m_p->modelGrid(TableKind(table));
        for (int r = 1; r <= Side; ++r)
            for (int c = 1; c <= Side; ++c) s.texts << model.cell(c, r);
        return s;
    }
    void restore(int table, const UndoState& state) override {
        if (state.texts.size() == tablecodec::CellCount) put(table, state.texts, {0, 0, Side - 1, Side - 1});
    }
    void put(int table, const QStringList& texts, const blockops::Block& cells) override {
        const bool shown = isShown(table);
        ModelGrid& model = m_p->modelGrid(TableKind(table));
        for (int r = cells.top; r <= cells.bottom; ++r) {
            for (int c = cells.left; c <= cells.right; ++c) {
                const QString& text = texts.at(r * Side + c);
                model.setCell(c + 1, r + 1, text);
                if (shown) m_p->setCellText(c + 1, r + 1, text);
            }
        }
        if (shown) m_p->requestRedraw();
    }
    void takeFile(int table, const QStringList& texts, const QList<double>&) override {
        put(table, texts, {0, 0, Side - 1, Side - 1});
    }

  private:
    // Before the first table is shown, the grid stands for every table.
    bool isShown(int table) const { return !m_p->shownTable() || int(*m_p->shownTable()) == table; }

    Table3DPanel* m_p;
};

} // namespace

Table3DPanel::Table3DPanel(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);
    setUpGrid();
    setUpIcons();
    writeAxisLabels();
    // Until a table is shown the panel wears the MAF look, the family of both models.
    applyFamilyColours(SurfaceFamily::Maf);
    m_gridAdapter = std::make_unique<TableGrid>(this);
    m_editor = new GridEditor(this, m_gridAdapter.get(), uitexts::Panel::Table3D, menuItems());
    m_editor->showError = [this](const QString& text) {
        if (onConversionError) onConversionError(text);
    };
    m_cellDelegate->look = [this](int row, int column) { return m_editor->look(row, column); };

    setUpRecordingViews();

    connect(ui.atb_KorrTab_MAF, &QToolButton::clicked, this, [this] {
        writeAxisLabels();
        emit loadAxisClicked(true);
    });
    connect(ui.atb_KorrTab_VV, &QToolButton::clicked, this, [this] {
        writeAxisLabels();
        emit loadAxisClicked(false);
    });
}

Table3DPanel::~Table3DPanel() {
    // The editor works through the adapter: it goes first.
    m_cellDelegate->look = nullptr;
    delete m_editor;
}

void Table3DPanel::setUpGrid() {
    QTableWidget* g = ui.sgrid_Table_3D;
    // The grid has a fixed height and no scroll bars: the sections share its whole area so
    // the 8 x 8 cells always fit, at every window size.
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    g->horizontalHeader()->setFixedHeight(20);
    g->verticalHeader()->setFixedWidth(36);
    g->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    g->horizontalHeader()->setSectionsClickable(false);
    g->verticalHeader()->setSectionsClickable(false);
    // Typing into a cell starts editing it, as in a spreadsheet; Enter commits the table.
    g->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                       QAbstractItemView::AnyKeyPressed);
    m_cellDelegate = new GridCellDelegate([](int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; },
                                          [this](int) { onEnter(); }, g);
    g->setItemDelegate(m_cellDelegate);
    g->installEventFilter(this);
    // Every cell exists from the start, so that code filling the grid never meets a null item.
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            g->setItem(r, c, item);
        }
    }
}

void Table3DPanel::setUpIcons() {
    const struct {
        QToolButton* button;
        QIcon icon;
    } buttons[] = {
        {ui.atb_MAF_In, icons::writeToModule()},
        {ui.atb_MAF_Out, icons::readFromModule()},
        {ui.atb_MAF_Open, icons::openFile()},
        {ui.atb_MAF_Save, icons::saveFile()},
        {ui.atb_Lambda_In, icons::writeToModule()},
        {ui.atb_Lambda_Out, icons::readFromModule()},
        {ui.atb_Lambda_Open, icons::openFile()},
        {ui.atb_Lambda_Save, icons::saveFile()},
        {ui.atb_MAF_TR_90_In, icons::writeToModule()},
        {ui.atb_MAF_TR_90_Out, icons::readFromModule()},
        {ui.atb_MAF_TR_90_Open, icons::openFile()},
        {ui.atb_MAF_TR_90_Save, icons::saveFile()},
        {ui.atb_3D_RotateLeft, icons::rotateLeft()},
        {ui.atb_3D_RotateRight, icons::rotateRight()},
        {ui.atb_3D_RotateUp, icons::rotateUp()},
        {ui.atb_3D_RotateDown, icons::rotateDown()},
        {ui.atb_3D_RotateUpZ, icons::rotateCounterClockwise()},
        {ui.atb_3D_RotateDownZ, icons::rotateClockwise()},
        {ui.atb_3D_Zoom, icons::zoom()},
        {ui.atb_Push_3D, icons::pushOrientation()},
        {ui.atb_Pop_3D, icons::popOrientation()},
        {ui.atb_Default_3D, icons::defaultOrientation()},
    };
    for (const auto& b : buttons) b.button->setIcon(b.icon);
}

void Table3DPanel::writeAxisLabels() {
    QTableWidget* g = ui.sgrid_Table_3D;
    const bool injectionTime = ui.atb_KorrTab_VV->isChecked();
    const char* const* load = injectionTime ? kInjectionTimeHeaders : kMafVoltageHeaders;
    for (int i = 0; i < 8; ++i) {
        g->setHorizontalHeaderItem(i, new QTableWidgetItem(QString::fromLatin1(kSpeedHeaders[i])));
        g->setVerticalHeaderItem(i, new QTableWidgetItem(QString::fromLatin1(load[i])));
    }
    // "t, мс" / "V" in the language in force, as the language switch writes it.
    ui.Panel_3D_Left->setText(uitexts::stateCaption(QStringLiteral("Panel_3D_Left"), injectionTime,
                                                    uitexts::currentLang()));
}

void Table3DPanel::raiseTableButtons(Table table) {
    QToolButton* const sets[3][4] = {
        {ui.atb_Lambda_In, ui.atb_Lambda_Out, ui.atb_Lambda_Open, ui.atb_Lambda_Save},
        {ui.atb_MAF_In, ui.atb_MAF_Out, ui.atb_MAF_Open, ui.atb_MAF_Save},
        {ui.atb_MAF_TR_90_In, ui.atb_MAF_TR_90_Out, ui.atb_MAF_TR_90_Open, ui.atb_MAF_TR_90_Save},
    };
    for (QToolButton* b : sets[int(table)]) b->raise();
}

void Table3DPanel::showMafPNote(bool shown) {
    QString note;
    if (shown) {
        for (const uitexts::Entry& e : uitexts::entriesFor(uitexts::Panel::Table3D))
            if (e.object == ui.Panel_lbl_MAF->objectName()) note = e.text(uitexts::currentLang());
    }
    ui.Panel_lbl_MAF->setText(note);
}

void Table3DPanel::applyFamilyColours(SurfaceFamily family) {
    setStyleSheet(styleSheetFor(family == SurfaceFamily::Lambda ? kLambdaLook : kMafLook));
}

QString Table3DPanel::cellText(int c, int r) const {
    if (c < 1 || c > 8 || r < 1 || r > 8) return {};
    const QTableWidgetItem* item = ui.sgrid_Table_3D->item(r - 1, c - 1);
    return item ? item->text() : QString();
}

void Table3DPanel::setCellText(int c, int r, const QString& text) {
    if (c < 1 || c > 8 || r < 1 || r > 8) return;
    QTableWidgetItem* item = ui.sgrid_Table_3D->item(r - 1, c - 1);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignCenter);
        ui.sgrid_Table_3D->setItem(r - 1, c - 1, item);
    }
    item->setText(text);
}

// --- refreshes ----------------------------------------------------------------------

// Showing a table brings its cells into range; that is where its next undo step starts.
bool Table3DPanel::btn_Lambda() { return showTable(Table::Lambda); }
bool Table3DPanel::btn_MAF() { return showTable(Table::Maf); }
bool Table3DPanel::btn_MAF_TR_90() { return showTable(Table::Voltage); }

bool Table3DPanel::showTable(Table table) {
    const bool ok = refresh(table);
    m_editor->rebase(int(table));
    ui.sgrid_Table_3D->viewport()->update();
    return ok;
}

void Table3DPanel::recordChange(Table table) { m_editor->record(int(table)); }

bool Table3DPanel::refreshShownTable() { return m_shown ? refresh(*m_shown) : false; }

bool Table3DPanel::refresh(Table table) {
    m_shown = table;
    ui.sgrid_Table_3D->setFocus();
    ui.Panel_lbl_MAF->setVisible(table == Table::Maf);
    const SurfaceFamily family = table == Table::Lambda ? SurfaceFamily::Lambda : SurfaceFamily::Maf;
    applyFamilyColours(family);
    // The view takes the family's orientation and background with its family.
    ui.Panel_Space3D->setFamily(family);
    ui.Panel_Space3D->setActive(true);
    raiseTableButtons(table);

    if (table == Table::Voltage) {
        if (!normaliseTableGrid(table)) return false;
    } else {
        ModelGrid& model = modelGrid(table);
        for (int r = 1; r <= tablecodec::Side; ++r) {
            for (int c = 1; c <= tablecodec::Side; ++c) {
                QString text;
                if (!tablecodec::normaliseWhole(model.cell(c, r), &text)) {
                    reportNotANumber(table, c, r, model.cell(c, r));
                    return false;
                }
                model.setCell(c, r, text);
                setCellText(c, r, text);
            }
        }
    }
    requestRedraw();
    return true;
}

bool Table3DPanel::normaliseTableGrid(Table table) {
    for (int r = 1; r <= tablecodec::Side; ++r) {
        for (int c = 1; c <= tablecodec::Side; ++c) {
            const QString old = cellText(c, r);
            QString text;
            if (!tablecodec::normaliseCell(table, old, &text)) {
                reportNotANumber(table, c, r, old);
                return false;
            }
            if (text != old) setCellText(c, r, text);
        }
    }
    return true;
}

void Table3DPanel::reportNotANumber(Table table, int c, int r, const QString& text) {
    ui.sgrid_Table_3D->setCurrentCell(r - 1, c - 1);
    if (onConversionError)
        onConversionError(tablecodec::notANumberMessage(table, text, msgs().english()));
}

bool Table3DPanel::normaliseForWrite(Table table) {
    // The MAF write sends its model grid, which its refresh brings into range and shows;
    // the other two send the table grid as it stands.
    if (table == Table::Maf) return refresh(table);
    if (!normaliseTableGrid(table)) return false;
    requestRedraw();
    return true;
}

QStringList Table3DPanel::tableCells() const {
    QStringList cells;
    cells.reserve(tablecodec::CellCount);
    for (int r = 1; r <= tablecodec::Side; ++r)
        for (int c = 1; c <= tablecodec::Side; ++c) cells << cellText(c, r);
    return cells;
}

void Table3DPanel::requestRedraw() {
    if (m_shown) ui.Panel_Space3D->setCells(*m_shown, tableCells());
    emit redrawRequested();
}

// --- editing ------------------------------------------------------------------------

bool Table3DPanel::commitEdits() {
    if (!m_shown) return false;
    ModelGrid& model = modelGrid(*m_shown);
    for (int r = 1; r <= tablecodec::Side; ++r)
        for (int c = 1; c <= tablecodec::Side; ++c) model.setCell(c, r, cellText(c, r));
    if (!refresh(*m_shown)) return false;
    m_editor->record(int(*m_shown));
    return true;
}

void Table3DPanel::onEnter() {
    QTableWidget* g = ui.sgrid_Table_3D;
    const int c = g->currentColumn() + 1;
    const int r = g->currentRow() + 1;
    // A refresh that stopped at a cell that is not a number has made that cell current:
    // the cursor stays there for the user to correct it.
    if (!commitEdits() && m_shown) return;
    const QPoint next = c >= 1 && r >= 1 ? tablecodec::nextCellOnEnter(c, r) : QPoint(1, 1);
    g->setCurrentCell(next.y() - 1, next.x() - 1);
}

bool Table3DPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui.sgrid_Table_3D && isEnterKey(event)) {
        // Over the statistics the grid is not edited.
        if (!m_statsShown) onEnter();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Table3DPanel::setLoadAxis(bool mafVoltage) {
    (mafVoltage ? ui.atb_KorrTab_MAF : ui.atb_KorrTab_VV)->setChecked(true);
    writeAxisLabels();
}
