// The set-up panel and the data-folder panel: where their controls stand, in twips, and the
// drive and folder lists that yield the data folder.
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

#include "app/qt/Icons.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtDialogs.h"
#include "app/qt/Units.h"
#include "app/qt/Widgets.h"

namespace wb::gui {
namespace {

using C = Control;

struct SetupField {
    Control box;
    const char* labelName;
    const char* label;
};
constexpr SetupField kSetupFields[] = {
    {C::Text17, "Label19", "Company Name"},
    {C::Text18, "Label20", "Company Address"},
    {C::Text19, "Label21", "City, State, Zip"},
    {C::Text20, "Label22", "Phone"},
    {C::Text21, "Label26", "Weight and Balance Title"},
    {C::Text29, "Label29", "Equipment List Title"},
};
constexpr int kFieldTop = 480, kFieldStep = 345, kFieldHeight = 300;
constexpr int kLabelLeft = 120, kLabelWidth = 2640, kBoxLeft = 2850, kBoxWidth = 4680;

struct Option {
    Control box;
    const char* caption;
    int left, top;
};
constexpr Option kOptions[] = {
    {C::Check3D1, " Print company info", 300, 3000},
    {C::Check3D2, "Print aircraft CG ranges", 300, 3330},
    {C::Check3D3, "Print mechanic's name", 4050, 3000},
    {C::Check3D4, "Print notes", 4050, 3330},
};
constexpr int kOptionWidth = 3450, kOptionHeight = 285;

// The drives a data folder can be on: the machine's volumes that hold files.
QStringList Drives() {
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady()) continue;
#ifndef Q_OS_WIN
        // Kernel and memory file systems hold no shop data.
        if (!v.isRoot() && !v.device().startsWith("/dev/")) continue;
#endif
        const QString root = QDir::toNativeSeparators(v.rootPath());
        if (!roots.contains(root)) roots.append(root);
    }
    roots.sort();
    return roots;
}

}  // namespace

void MainWindow::BuildSetup() {
    // A row taller than the set-up screen once was, for its Close button.
    QWidget* panel = MakePanel(this, "Panel3D7", TwipRect(600, 540, 7800, 5715));
    Register(C::Panel3D7, panel);
    MakeLabel(panel, "Label27", QStringLiteral("Set-up Screen"), TwipRect(120, 120, 7560, 300),
              Qt::AlignHCenter | Qt::AlignVCenter);

    auto* signers = new QPushButton(QStringLiteral("Signers"), panel);
    signers->setObjectName(QStringLiteral("SignersButton"));
    signers->setAutoDefault(true);
    signers->setToolTip(QStringLiteral("Add or retire the mechanics who sign Worksheets electronically"));
    signers->setGeometry(TwipRect(5160, 90, 1200, 360));
    connect(signers, &QPushButton::clicked, this, [this] { Click(C::SignersButton); });
    Register(C::SignersButton, signers);

    // Backups sit apart at the top, away from the everyday buttons; Tab reaches them first.
    auto* backups = new QPushButton(QStringLiteral("Backups"), panel);
    backups->setObjectName(QStringLiteral("Command3D44"));
    backups->setAutoDefault(true);
    backups->setGeometry(TwipRect(6480, 90, 1200, 360));
    connect(backups, &QPushButton::clicked, this, [this] { Click(C::Command3D44); });
    Register(C::Command3D44, backups);

    int top = kFieldTop;
    for (const SetupField& f : kSetupFields) {
        QLabel* label = MakeLabel(panel, f.labelName, QString::fromLatin1(f.label),
                                  TwipRect(kLabelLeft, top, kLabelWidth, kFieldHeight),
                                  Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new FieldEdit(f.box, *this, panel);
        label->setBuddy(box);
        box->setGeometry(TwipRect(kBoxLeft, top, kBoxWidth, kFieldHeight));
        Register(f.box, box);
        top += kFieldStep;
    }
    // The defaults every new Worksheet starts with: mechanic and certificate on one row.
    MakeLabel(panel, "Label30", QStringLiteral("Default Mechanic/Cert"),
              TwipRect(kLabelLeft, top, kLabelWidth, kFieldHeight), Qt::AlignRight | Qt::AlignVCenter);
    auto* mechanic = new FieldEdit(C::Text25, *this, panel);
    mechanic->setAccessibleName(QStringLiteral("Default mechanic"));
    mechanic->setGeometry(TwipRect(kBoxLeft, top, 2100, kFieldHeight));
    Register(C::Text25, mechanic);
    MakeLabel(panel, "Label31", QStringLiteral("No."), TwipRect(5040, top, 480, kFieldHeight),
              Qt::AlignRight | Qt::AlignVCenter);
    auto* cert = new FieldEdit(C::Text26, *this, panel);
    cert->setAccessibleName(QStringLiteral("Default certificate number"));
    cert->setGeometry(TwipRect(5580, top, 1950, kFieldHeight));
    Register(C::Text26, cert);

    for (const Option& o : kOptions) {
        auto* box = new OptionBox(o.box, QString::fromLatin1(o.caption), *this, panel);
        box->setGeometry(TwipRect(o.left, o.top, kOptionWidth, kOptionHeight));
        Register(o.box, box);
    }

    MakeLabel(panel, "Label32", QStringLiteral("Printer select"), TwipRect(120, 4200, 1800, 285),
              Qt::AlignHCenter | Qt::AlignVCenter);
    auto* printer = new QPushButton(panel);
    printer->setObjectName(QStringLiteral("Command3D29"));
    printer->setAutoDefault(true);
    printer->setIcon(PictureIcon(Picture::CalculationReport));
    printer->setIconSize(IconSize());
    printer->setToolTip(QStringLiteral("Choose the printer for the reports"));
    printer->setAccessibleName(printer->toolTip());
    printer->setGeometry(TwipRect(630, 4560, 780, 585));
    connect(printer, &QPushButton::clicked, this, [this] { Click(C::Command3D29); });
    Register(C::Command3D29, printer);

    struct Button {
        Control control;
        const char* caption;
        int left;
    };
    for (const Button& b : {Button{C::Command3D40, "Path", 2130}, Button{C::Command3D28, "Fonts", 3570}}) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), panel);
        button->setObjectName(QString::fromLatin1(InfoOf(b.control).name.data(),
                                                  static_cast<qsizetype>(InfoOf(b.control).name.size())));
        button->setAutoDefault(true);
        button->setGeometry(TwipRect(b.left, 4560, 1005, 585));
        const Control c = b.control;
        connect(button, &QPushButton::clicked, this, [this, c] { Click(c); });
        Register(c, button);
    }

    // The sample shows the company name in the report font; nobody types into it.
    auto* sample = new QLineEdit(panel);
    sample->setObjectName(QStringLiteral("Text28"));
    sample->setAccessibleName(QStringLiteral("Report font sample"));
    sample->setReadOnly(true);
    sample->setFocusPolicy(Qt::NoFocus);
    sample->setGeometry(TwipRect(5010, 4560, 2490, 615));
    Register(C::Text28, sample);

    auto* close = new QPushButton(QStringLiteral("Close"), panel);
    close->setObjectName(QStringLiteral("SetupClose"));
    close->setAutoDefault(true);
    close->setToolTip(QStringLiteral("Store the settings and close this panel (Esc)"));
    close->setGeometry(TwipRect(6480, 5250, 1200, 390));
    connect(close, &QPushButton::clicked, this, [this] { Click(C::SetupClose); });
    Register(C::SetupClose, close);
    panel->hide();
}

void MainWindow::BuildDataFolder() {
    QWidget* panel = MakePanel(this, "Panel3D11", TwipRect(2115, 1020, 4965, 4035));
    Register(C::Panel3D11, panel);
    MakeLabel(panel, "Label28", QStringLiteral("Select path to data, press SAVE"),
              TwipRect(690, 465, 3600, 285));

    drives_ = new QComboBox(panel);
    drives_->setObjectName(QStringLiteral("Drive1"));
    drives_->setAccessibleName(QStringLiteral("Drive"));
    drives_->addItems(Drives());
    drives_->setGeometry(TwipRect(675, 765, 3135, 315));
    connect(drives_, &QComboBox::activated, this, [this](int i) { FolderPicked(drives_->itemText(i)); });

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QString());
    folderTree_ = new QTreeView(panel);
    folderTree_->setObjectName(QStringLiteral("Dir1"));
    folderTree_->setAccessibleName(QStringLiteral("Data folder"));
    folderTree_->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c)
        folderTree_->hideColumn(c);
    folderTree_->setHeaderHidden(true);
    folderTree_->setGeometry(TwipRect(660, 1440, 3135, 1605));
    // The list reads folders in the background: once the folders on the way to the chosen one
    // are read, it is scrolled into view again (the rows above it may have grown meanwhile).
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QModelIndex current = folderTree_->currentIndex();
        if (current.isValid() && folders_->filePath(current).startsWith(loaded)) BringIntoView(current);
    });
    // The chosen folder as text: the list shows only its last names.
    folderPath_ = new QLabel(panel);
    folderPath_->setObjectName(QStringLiteral("DataFolderPath"));
    folderPath_->setGeometry(TwipRect(660, 1110, 4155, 285));
    connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now) {
                if (now.isValid()) FolderPicked(folders_->filePath(now));
            });

    auto* save = new QPushButton(QStringLiteral("Save"), panel);
    save->setObjectName(QStringLiteral("Command3D39"));
    save->setAutoDefault(true);
    save->setGeometry(TwipRect(150, 3405, 1180, 495));
    connect(save, &QPushButton::clicked, this, [this] { Click(C::Command3D39); });
    Register(C::Command3D39, save);
    auto* server = new QPushButton(QStringLiteral("Shop server..."), panel);
    server->setObjectName(QStringLiteral("Command3D45"));
    server->setAutoDefault(true);
    server->setToolTip(
        QStringLiteral("Keep the records on a database server that several workstations share"));
    server->setGeometry(TwipRect(1450, 3405, 2045, 495));
    connect(server, &QPushButton::clicked, this, [this] { Click(C::Command3D45); });
    Register(C::Command3D45, server);
    // Made after "Shop server...", which stands between Save and Exit: Tab follows the row.
    auto* exit = new QPushButton(QStringLiteral("Exit"), panel);
    exit->setObjectName(QStringLiteral("Command3D31"));
    exit->setAutoDefault(true);
    exit->setGeometry(TwipRect(3615, 3375, 1180, 495));
    connect(exit, &QPushButton::clicked, this, [this] { Click(C::Command3D31); });
    Register(C::Command3D31, exit);
    panel->hide();
}

// The shop server: its address, the certificate check, and what can be done with it.
void MainWindow::BuildShopServer() {
    QWidget* panel = MakePanel(this, "Panel3D13", TwipRect(1500, 1020, 6600, 4200));
    Register(C::Panel3D13, panel);
    MakeLabel(panel, "Label40", QStringLiteral("Shop server: one database for several workstations"),
              TwipRect(120, 120, 6360, 300), Qt::AlignHCenter | Qt::AlignVCenter);
    const SetupField fields[] = {
        {C::Text31, "Label41", "Host"},
        {C::Text32, "Label42", "Port"},
        {C::Text33, "Label43", "Database"},
        {C::Text34, "Label44", "User"},
    };
    int top = 540;
    for (const SetupField& f : fields) {
        QLabel* label = MakeLabel(panel, f.labelName, QString::fromLatin1(f.label),
                                  TwipRect(120, top, 1500, kFieldHeight), Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new FieldEdit(f.box, *this, panel);
        label->setBuddy(box);
        box->setGeometry(TwipRect(1710, top, 4650, kFieldHeight));
        Register(f.box, box);
        top += kFieldStep;
    }
    auto* verify = new OptionBox(C::Check3D5, QStringLiteral("Verify the server's certificate"),
                                 *this, panel);
    verify->setGeometry(TwipRect(1710, top + 30, 4650, kOptionHeight));
    Register(C::Check3D5, verify);
    auto* note = MakeLabel(panel, "Label45",
                           QStringLiteral("No password is kept here: the server's own password file and "
                                          "settings are used, or it is asked for at start-up. The choice is "
                                          "used from the next start."),
                           TwipRect(120, top + 420, 6360, 900), Qt::AlignLeft | Qt::AlignTop);
    note->setWordWrap(true);
    struct Button {
        Control control;
        const char* caption;
        int left, width;
    };
    for (const Button& b : {Button{C::Command3D46, "Test", 150, 1100},
                            Button{C::Command3D47, "Save", 1350, 1100},
                            Button{C::Command3D48, "Move local database up", 2550, 2550},
                            Button{C::Command3D49, "Back", 5250, 1200}}) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), panel);
        button->setObjectName(QString::fromLatin1(InfoOf(b.control).name.data(),
                                                  static_cast<qsizetype>(InfoOf(b.control).name.size())));
        button->setAutoDefault(true);
        button->setGeometry(TwipRect(b.left, 3525, b.width, 495));
        connect(button, &QPushButton::clicked, this, [this, c = b.control] { Click(c); });
        Register(b.control, button);
    }
    panel->hide();
}

// The drive and folder lists stand on the form's chosen folder.
void MainWindow::ShowFolder() {
    if (folderTree_ == nullptr || !form_.Visible(C::Panel3D11)) return;
    const QString folder = QDir::fromNativeSeparators(QString::fromStdString(form_.ChosenFolder()));
    if (folder.isEmpty()) return;
    const QString shown = QDir::toNativeSeparators(folder);
    folderPath_->setToolTip(shown);
    folderPath_->setText(folderPath_->fontMetrics().elidedText(shown, Qt::ElideMiddle, folderPath_->width()));
    const QModelIndex at = folders_->index(QDir::cleanPath(folder));
    if (at.isValid() && at != folderTree_->currentIndex()) {
        folderTree_->setCurrentIndex(at);
        BringIntoView(at);
    }
    const QString drive = QDir::toNativeSeparators(QStorageInfo(folder).rootPath());
    if (drive.isEmpty()) return;
    if (drives_->findText(drive) < 0) drives_->addItem(drive);
    drives_->setCurrentIndex(drives_->findText(drive));
}

// The folders on the way are opened, and the folder is scrolled to the middle of the list.
void MainWindow::BringIntoView(const QModelIndex& folder) {
    for (QModelIndex up = folder.parent(); up.isValid(); up = up.parent())
        folderTree_->expand(up);
    folderTree_->scrollTo(folder, QAbstractItemView::PositionAtCenter);
}

QString MainWindow::ChosenFolderShown() const {
    return folderTree_ ? folders_->filePath(folderTree_->currentIndex()) : QString();
}

void MainWindow::ShowSample() {
    if (QWidget* sample = WidgetOf(C::Text28)) sample->setFont(QtDialogs::ToQFont(form_.SampleFont()));
}

}  // namespace wb::gui
