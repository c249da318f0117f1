#include "dialogs/openfilewindow.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const TextPair kCaption{QStringLiteral("Открыть таблицу и поверхность из файла"),
                        QStringLiteral("Open table and surface from file")};
const TextPair kOk{QStringLiteral("ОК"), QStringLiteral("OK")};
const TextPair kCancel{QStringLiteral("Отмена"), QStringLiteral("Cancel")};
const TextPair kFolders{QStringLiteral("Папки:"), QStringLiteral("Folders:")};
const TextPair kFiles{QStringLiteral("Файлы:"), QStringLiteral("Files:")};
const TextPair kDrive{QStringLiteral("Диск:"), QStringLiteral("Drive:")};
const TextPair kType{QStringLiteral("Тип файлов:"), QStringLiteral("File type:")};
const TextPair kAllFiles{QStringLiteral("Все файлы (*)"), QStringLiteral("All files (*)")};

constexpr int kPathRole = Qt::UserRole;

} // namespace

Tfm_3D_Open::Tfm_3D_Open(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("fm_3D_Open"));
    setModal(true);

    auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    ui.pathLabel = label("pathLabel");
    ui.folderCaption = label("folderCaption");
    ui.fileCaption = label("fileCaption");
    ui.driveCaption = label("driveCaption");
    ui.typeCaption = label("typeCaption");
    ui.pathLabel->setTextFormat(Qt::PlainText);
    ui.pathLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    ui.dcbox_3D_Open = new QComboBox(this);
    ui.dcbox_3D_Open->setObjectName(QStringLiteral("dcbox_3D_Open"));
    for (const QFileInfo& drive : QDir::drives())
        ui.dcbox_3D_Open->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon),
                                  QDir::toNativeSeparators(drive.absolutePath()),
                                  drive.absolutePath());

    ui.dlbox_3D_Open = new QListWidget(this);
    ui.dlbox_3D_Open->setObjectName(QStringLiteral("dlbox_3D_Open"));
    ui.flbox_3D_Open = new QListWidget(this);
    ui.flbox_3D_Open->setObjectName(QStringLiteral("flbox_3D_Open"));

    ui.fcbox_3D_Open = new QComboBox(this);
    ui.fcbox_3D_Open->setObjectName(QStringLiteral("fcbox_3D_Open"));
    ui.fcbox_3D_Open->addItem(kAllFiles.ru, QStringLiteral("*"));

    ui.atb_3D_Open_alternetive_OK = new QPushButton(this);
    ui.atb_3D_Open_alternetive_OK->setObjectName(QStringLiteral("atb_3D_Open_alternetive_OK"));
    ui.atb_3D_Open_alternetive_OK->setMinimumWidth(88);
    ui.atb_3D_Open_alternetive_OK->setDefault(true);
    ui.atb_3D_Open_alternetive_Cancel = new QPushButton(this);
    ui.atb_3D_Open_alternetive_Cancel->setObjectName(
        QStringLiteral("atb_3D_Open_alternetive_Cancel"));
    ui.atb_3D_Open_alternetive_Cancel->setMinimumWidth(88);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(ui.pathLabel, 0, 0, 1, 2);
    grid->addWidget(ui.fileCaption, 1, 0);
    grid->addWidget(ui.folderCaption, 1, 1);
    grid->addWidget(ui.flbox_3D_Open, 2, 0);
    grid->addWidget(ui.dlbox_3D_Open, 2, 1);
    grid->addWidget(ui.typeCaption, 3, 0);
    grid->addWidget(ui.driveCaption, 3, 1);
    grid->addWidget(ui.fcbox_3D_Open, 4, 0);
    grid->addWidget(ui.dcbox_3D_Open, 4, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowMinimumHeight(3, 22);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ui.atb_3D_Open_alternetive_OK);
    buttons->addWidget(ui.atb_3D_Open_alternetive_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    connect(ui.atb_3D_Open_alternetive_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui.atb_3D_Open_alternetive_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.dlbox_3D_Open, &QListWidget::itemActivated, this, &Tfm_3D_Open::folderActivated);
    connect(ui.flbox_3D_Open, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(ui.dcbox_3D_Open, &QComboBox::activated, this,
            [this](int i) { setDirectory(ui.dcbox_3D_Open->itemData(i).toString()); });
    connect(ui.fcbox_3D_Open, &QComboBox::currentIndexChanged, this, &Tfm_3D_Open::refreshFiles);

    setFixedSize(385, 421);
    setLanguage(false);
    setDirectory(QDir::currentPath());
}

void Tfm_3D_Open::setLanguage(bool english) {
    setWindowTitle(kCaption.text(english));
    ui.folderCaption->setText(kFolders.text(english));
    ui.fileCaption->setText(kFiles.text(english));
    ui.driveCaption->setText(kDrive.text(english));
    ui.typeCaption->setText(kType.text(english));
    ui.fcbox_3D_Open->setItemText(0, kAllFiles.text(english));
    ui.atb_3D_Open_alternetive_OK->setText(kOk.text(english));
    ui.atb_3D_Open_alternetive_Cancel->setText(kCancel.text(english));
}

QString Tfm_3D_Open::selectedFile() const {
    const QListWidgetItem* item = ui.flbox_3D_Open->currentItem();
    return item && item->isSelected() ? item->data(kPathRole).toString() : QString();
}

void Tfm_3D_Open::setDirectory(const QString& dir) {
    const QDir d(QFileInfo(dir).absoluteFilePath());
    if (!d.exists() || !d.isReadable()) return;
    m_dir = d.absolutePath();

    const QString native = QDir::toNativeSeparators(m_dir);
    ui.pathLabel->setText(
        ui.pathLabel->fontMetrics().elidedText(native, Qt::ElideMiddle, width() - 30));
    ui.pathLabel->setToolTip(native);

    for (int i = 0; i < ui.dcbox_3D_Open->count(); ++i) {
        if (m_dir.startsWith(ui.dcbox_3D_Open->itemData(i).toString())) {
            ui.dcbox_3D_Open->setCurrentIndex(i);
            break;
        }
    }

    ui.dlbox_3D_Open->clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    if (!d.isRoot()) {
        auto* up = new QListWidgetItem(style()->standardIcon(QStyle::SP_FileDialogToParent),
                                       QStringLiteral(".."), ui.dlbox_3D_Open);
        up->setData(kPathRole, QFileInfo(m_dir).absolutePath());
    }
    const QFileInfoList folders =
        d.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : folders) {
        auto* item = new QListWidgetItem(folderIcon, f.fileName(), ui.dlbox_3D_Open);
        item->setData(kPathRole, f.absoluteFilePath());
    }
    refreshFiles();
}

void Tfm_3D_Open::folderActivated(QListWidgetItem* item) {
    if (item) setDirectory(item->data(kPathRole).toString());
}

void Tfm_3D_Open::refreshFiles() {
    ui.flbox_3D_Open->clear();
    if (m_dir.isEmpty()) return;
    const QString pattern = ui.fcbox_3D_Open->currentData().toString();
    const QFileInfoList files =
        QDir(m_dir).entryInfoList(QStringList{pattern.isEmpty() ? QStringLiteral("*") : pattern},
                                  QDir::Files, QDir::Name | QDir::IgnoreCase);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const QFileInfo& f : files) {
        auto* item = new QListWidgetItem(fileIcon, f.fileName(), ui.flbox_3D_Open);
        item->setData(kPathRole, f.absoluteFilePath());
    }
}
