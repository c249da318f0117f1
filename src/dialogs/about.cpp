#include "dialogs/about.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const TextPair kCaption{QStringLiteral("О программе"), QStringLiteral("About")};
const TextPair kTitle{QStringLiteral("Оптимизатор"), QStringLiteral("Optimizer")};
const TextPair kVersion{QStringLiteral("Версия 8.0"), QStringLiteral("Ver 8.0")};
const TextPair kContact{QStringLiteral("Документация и поддержка"),
                        QStringLiteral("Documentation and support")};

// Narrow enough to sit over the table panel (372 px) at the right of the main window.
constexpr int kWidth = 360;
constexpr int kHeight = 228;
constexpr int kPictureSize = 96;

} // namespace

QString TfmAbout::address() {
    // The program's own manual: README.md beside the program, or in the source tree the
    // build folder sits in, or where a package installs its documentation.
    const QDir exe(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {exe.filePath(QStringLiteral("README.md")),
                                     exe.filePath(QStringLiteral("../README.md")),
                                     exe.filePath(QStringLiteral("../share/doc/moduletool/README.md"))}) {
        const QFileInfo info(candidate);
        if (info.exists()) return QUrl::fromLocalFile(info.canonicalFilePath()).toString();
    }
    return QUrl::fromLocalFile(exe.filePath(QStringLiteral("README.md"))).toString();
}

QPixmap TfmAbout::drawPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // Tile in the colours of the Lambda surface.
    QLinearGradient bg(0, 0, 0, s);
    bg.setColorAt(0, QColor(0x4F, 0xA8, 0xCA));
    bg.setColorAt(1, QColor(0x1C, 0x5E, 0x7A));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.14, s * 0.14);

    // Chart grid.
    const QRectF plot(s * 0.14, s * 0.30, s * 0.74, s * 0.56);
    p.setPen(QPen(QColor(255, 255, 255, 55), 1));
    for (int i = 0; i <= 4; ++i) {
        const qreal x = plot.left() + plot.width() * i / 4;
        const qreal y = plot.top() + plot.height() * i / 4;
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    // An emulation curve: the sensor's steep switch between lean and rich.
    auto curveAt = [&](qreal t) {
        const qreal v = 1.0 / (1.0 + std::exp(-(t - 0.5) * 12.0));
        return QPointF(plot.left() + plot.width() * t, plot.bottom() - plot.height() * v);
    };
    QPainterPath curve(curveAt(0));
    for (int i = 1; i <= 64; ++i)
        curve.lineTo(curveAt(i / 64.0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, s * 0.035, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);

    // A few edit points on it.
    p.setPen(QPen(QColor(0x1C, 0x5E, 0x7A), s * 0.015));
    p.setBrush(QColor(0xF2, 0xC1, 0x4E));
    for (qreal t : {0.12, 0.42, 0.58, 0.88})
        p.drawEllipse(curveAt(t), s * 0.045, s * 0.045);

    // The Lambda sign.
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(qRound(s * 0.30));
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(s * 0.10, s * 0.02, s * 0.4, s * 0.32), Qt::AlignLeft | Qt::AlignVCenter,
               QString(QChar(0x03BB)));
    return pm;
}

TfmAbout::TfmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("fmAbout"));
    setModal(true);

    ui.picture = new QLabel(this);
    ui.picture->setObjectName(QStringLiteral("picture"));
    ui.picture->setPixmap(drawPicture(kPictureSize));
    ui.picture->setFixedSize(kPictureSize, kPictureSize);

    ui.titleLabel = new QLabel(this);
    ui.titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = ui.titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    ui.titleLabel->setFont(titleFont);

    ui.Label2 = new QLabel(this);
    ui.Label2->setObjectName(QStringLiteral("Label2"));

    ui.contactPanel = new QFrame(this);
    ui.contactPanel->setObjectName(QStringLiteral("contactPanel"));
    ui.contactPanel->setFrameShape(QFrame::StyledPanel);
    ui.contactPanel->setFrameShadow(QFrame::Sunken);

    ui.contactCaption = new QLabel(ui.contactPanel);
    ui.contactCaption->setObjectName(QStringLiteral("contactCaption"));

    ui.webAddress = new QLabel(QUrl(address()).toLocalFile(), ui.contactPanel);
    ui.webAddress->setWordWrap(true);
    ui.webAddress->setObjectName(QStringLiteral("webAddress"));
    ui.webAddress->setTextFormat(Qt::PlainText);
    ui.webAddress->setCursor(Qt::PointingHandCursor);
    ui.webAddress->installEventFilter(this);

    ui.atb_OK = new QPushButton(QStringLiteral("ОК"), this);
    ui.atb_OK->setObjectName(QStringLiteral("atb_OK"));
    ui.atb_OK->setMinimumWidth(88);
    ui.atb_OK->setDefault(true);
    connect(ui.atb_OK, &QPushButton::clicked, this, &QDialog::accept);

    auto* contact = new QVBoxLayout(ui.contactPanel);
    contact->setContentsMargins(10, 8, 10, 8);
    contact->setSpacing(4);
    contact->addWidget(ui.contactCaption);
    contact->addWidget(ui.webAddress);

    auto* heading = new QVBoxLayout;
    heading->setSpacing(4);
    heading->addStretch(1);
    heading->addWidget(ui.titleLabel);
    heading->addWidget(ui.Label2);
    heading->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(ui.picture);
    top->addLayout(heading, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ui.atb_OK);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addWidget(ui.contactPanel);
    layout->addStretch(1);
    layout->addLayout(buttons);

    setFixedSize(kWidth, kHeight);
    setLanguage(false);
}

void TfmAbout::setLanguage(bool english) {
    setWindowTitle(kCaption.text(english));
    ui.titleLabel->setText(kTitle.text(english));
    ui.Label2->setText(kVersion.text(english));
    ui.contactCaption->setText(kContact.text(english));
}

void TfmAbout::placeLeftEdge(int mainWindowWidth, int panelTable3DWidth) {
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* s = main ? main->screen() : screen();
    const QRect area = s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
    const int mainLeft = main ? main->mapToGlobal(QPoint(0, 0)).x() : area.left();

    const QSize size = frameGeometry().size();
    int left = mainLeft + mainWindowWidth - panelTable3DWidth;
    // Never let the box (and its OK button) run off the screen on a narrow main window.
    left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int top = area.top() + std::max(0, (area.height() - size.height()) / 2);
    move(left, top);
}

void TfmAbout::setAddressHovered(bool hovered) {
    if (hovered) {
        QPalette pal = ui.webAddress->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        ui.webAddress->setPalette(pal);
        QFont f = ui.webAddress->font();
        f.setUnderline(true);
        ui.webAddress->setFont(f);
    } else {
        // Back to what the label inherits from the box.
        ui.webAddress->setPalette(QPalette());
        ui.webAddress->setFont(QFont());
    }
}

bool TfmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui.webAddress) {
        switch (event->type()) {
        case QEvent::Enter:
            setAddressHovered(true);
            break;
        case QEvent::Leave:
            setAddressHovered(false);
            break;
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton &&
                ui.webAddress->rect().contains(me->position().toPoint()))
                QDesktopServices::openUrl(QUrl(address())); // failure is not worth a message
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
