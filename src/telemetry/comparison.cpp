#include "telemetry/comparison.h"

#include "common/messages.h"
#include "common/numtext.h"
#include "common/userfiles.h"
#include "icons/icons.h"
#include "link/operationcontext.h"
#include "telemetry/chartmenu.h"
#include "telemetry/paramchart.h"
#include "telemetry/recordfile.h"
#include "telemetry/referenceview.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <qcustomplot.h>

Comparison::Comparison(OperationContext* ctx, ChartMenu* menu, ParamChart* chart, const SampleTable* archive,
                       QWidget* host, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_plot(chart->plot()) {
    setObjectName(QStringLiteral("Comparison"));
    m_view = new ReferenceView(chart, archive, this);

    actCompareRecord = menu->addAction(QStringLiteral("actCompareRecord"), QStringLiteral("Сравнить с записью…"), true);
    actCompareRemove = menu->addAction(QStringLiteral("actCompareRemove"), QStringLiteral("Убрать сравнение"));
    actCompareRemove->setEnabled(false);
    connect(actCompareRecord, &QAction::triggered, this, &Comparison::actCompareRecordClick);
    connect(actCompareRemove, &QAction::triggered, this, &Comparison::remove);

    tbReference = new QFrame(host);
    tbReference->setObjectName(QStringLiteral("tbReference"));
    tbReference->setFrameShape(QFrame::StyledPanel);
    tbReference->setAutoFillBackground(true);
    auto* h = new QHBoxLayout(tbReference);
    h->setContentsMargins(4, 1, 2, 1);
    h->setSpacing(4);
    lblRefName = new QLabel(tbReference);
    lblRefName->setObjectName(QStringLiteral("lblRefName"));
    lblRefOffset = new QLabel(QStringLiteral("Сдвиг, с"), tbReference);
    lblRefOffset->setObjectName(QStringLiteral("lblRefOffset"));
    edRefOffset = new QLineEdit(tbReference);
    edRefOffset->setObjectName(QStringLiteral("edRefOffset"));
    edRefOffset->setToolTip(QStringLiteral("Сдвиг записи сравнения, с (Shift и перетаскивание на графике)"));
    edRefOffset->setFixedWidth(64);
    edRefOffset->setAlignment(Qt::AlignRight);
    atbCompareRemove = new QToolButton(tbReference);
    atbCompareRemove->setObjectName(QStringLiteral("atbCompareRemove"));
    atbCompareRemove->setIcon(icons::clearChart());
    atbCompareRemove->setToolTip(QStringLiteral("Убрать сравнение"));
    atbCompareRemove->setAutoRaise(true);
    h->addWidget(lblRefName);
    h->addSpacing(6);
    h->addWidget(lblRefOffset);
    h->addWidget(edRefOffset);
    h->addWidget(atbCompareRemove);
    tbReference->hide();
    showOffset();

    connect(atbCompareRemove, &QToolButton::clicked, this, &Comparison::remove);
    connect(edRefOffset, &QLineEdit::editingFinished, this, &Comparison::offsetEdited);
    connect(m_view, &ReferenceView::offsetDragged, this, [this] {
        showOffset();
        emit changed();
    });
    m_plot->installEventFilter(this);
}

void Comparison::actCompareRecordClick() {
    if (beforeDialog) beforeDialog();
    const bool english = msgs().english();
    const QString name = m_ctx->openFileName(QString(), recordfile::dialogFilter(), std::nullopt);
    if (name.isEmpty()) return;
    QByteArray bytes;
    QString error;
    if (!userfiles::read(name, -1, &bytes, &error, english)) {
        m_ctx->error(error);
        return;
    }
    load(name, bytes);
}

bool Comparison::load(const QString& fileName, const QByteArray& bytes) {
    auto recording = std::make_shared<reference::Recording>();
    QString error;
    if (!reference::Recording::read(bytes, fileName, msgs().english(), recording.get(), &error)) {
        m_ctx->error(error);
        return false;
    }
    m_recording = std::move(recording);
    m_fileName = fileName;
    m_view->setRecording(m_recording);
    // A new comparison starts where the main recording starts.
    m_view->setOffset(0);
    showOffset();
    lblRefName->setText(QFileInfo(fileName).fileName());
    lblRefName->setToolTip(fileName);
    actCompareRemove->setEnabled(true);
    tbReference->show();
    placeBar();
    emit changed();
    return true;
}

void Comparison::remove() {
    if (!m_recording) return;
    m_view->setRecording(nullptr);
    m_recording.reset();
    m_fileName.clear();
    lblRefName->clear();
    lblRefName->setToolTip(QString());
    actCompareRemove->setEnabled(false);
    tbReference->hide();
    emit changed();
}

void Comparison::setOffset(double seconds) {
    if (!std::isfinite(seconds)) return;
    const double before = m_view->offset();
    m_view->setOffset(seconds);
    showOffset();
    if (m_view->offset() != before) emit changed();
}

void Comparison::showOffset() { edRefOffset->setText(formatGeneral(m_view->offset())); }

void Comparison::offsetEdited() {
    double v = 0;
    // Something that is not a number gives the field its offset back.
    if (!parseNumber(edRefOffset->text(), &v)) {
        showOffset();
        return;
    }
    setOffset(std::round(v * 1000) / 1000);
}

void Comparison::placeBar() {
    if (tbReference->isHidden()) return;
    tbReference->adjustSize();
    const QRect area = m_plot->axisRect()->rect();
    const QPoint corner = m_plot->mapTo(tbReference->parentWidget(), area.bottomRight());
    tbReference->move(corner.x() - tbReference->width() - 4, corner.y() - tbReference->height() - 3);
    tbReference->raise();
}

bool Comparison::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_plot && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) placeBar();
    return QObject::eventFilter(watched, event);
}
