#include "screens/frmCLTYieldReportPath.h"

#include "screens/frmCLTProcesses.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTYieldReportPath.h"

#include <QDir>
#include <QFileSystemModel>
#include <QStorageInfo>

namespace vx {

frmCLTYieldReportPath::frmCLTYieldReportPath(frmCLTProcesses* processes)
    : QWidget(nullptr, Qt::Window), m_ui(new Ui::frmCLTYieldReportPath), m_processes(processes),
      m_folders(new QFileSystemModel(this))
{
    m_ui->setupUi(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setRootPath(QDir::rootPath());
    m_ui->Dir1->setModel(m_folders);
    for (int c = 1; c < m_folders->columnCount(); ++c)
        m_ui->Dir1->hideColumn(c);
    LoadDrives();
    connect(m_ui->Drive1, &QComboBox::currentIndexChanged, this, &frmCLTYieldReportPath::Drive1_Change);
    connect(m_ui->Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmCLTYieldReportPath::Dir1_Change);
    connect(m_ui->cmdSavePath, &QPushButton::clicked, this, &frmCLTYieldReportPath::cmdSavePath_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTYieldReportPath::cmdDone_Click);
    Drive1_Change();
}

frmCLTYieldReportPath::~frmCLTYieldReportPath() = default;

void frmCLTYieldReportPath::LoadDrives()
{
    m_ui->Drive1->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        QString root = QDir::toNativeSeparators(volume.rootPath());
        QString name = volume.displayName();
        m_ui->Drive1->addItem(name == volume.rootPath() || name.isEmpty() ? root
                                                                          : root + QStringLiteral("  [") + name + u']',
                              volume.rootPath());
    }
    if (m_ui->Drive1->count() == 0)
        m_ui->Drive1->addItem(QDir::toNativeSeparators(QDir::rootPath()), QDir::rootPath());
}

void frmCLTYieldReportPath::Display(int target)
{
    m_target = target;
    CentreOnDesktop(this);
    show();
    raise();
    activateWindow();
    m_ui->lblNewPath->setText(CurrentPath());
}

QString frmCLTYieldReportPath::CurrentPath() const { return QDir::toNativeSeparators(m_currentPath); }

void frmCLTYieldReportPath::Drive1_Change()
{
    QString root = m_ui->Drive1->currentData().toString();
    if (root.isEmpty())
        return;
    QModelIndex index = m_folders->index(root);
    m_ui->Dir1->setRootIndex(index);
    m_currentPath = root;
    m_ui->lblNewPath->setText(CurrentPath());
}

void frmCLTYieldReportPath::Dir1_Change()
{
    QModelIndex current = m_ui->Dir1->currentIndex();
    if (current.isValid())
        m_currentPath = m_folders->filePath(current);
    m_ui->lblNewPath->setText(CurrentPath());
}

void frmCLTYieldReportPath::SelectFolder(const QString& path)
{
    QString clean = QDir::cleanPath(QDir(path).absolutePath());
    // The drive holding the folder: the longest mounted root that starts the path.
    int best = -1, bestLength = -1;
    for (int i = 0; i < m_ui->Drive1->count(); ++i) {
        QString root = m_ui->Drive1->itemData(i).toString();
        if (clean.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    if (best >= 0 && best != m_ui->Drive1->currentIndex())
        m_ui->Drive1->setCurrentIndex(best);
    QModelIndex index = m_folders->index(clean);
    if (index.isValid()) {
        m_ui->Dir1->setCurrentIndex(index);
        m_ui->Dir1->scrollTo(index);
    }
    m_currentPath = clean;
    m_ui->lblNewPath->setText(CurrentPath());
}

void frmCLTYieldReportPath::cmdSavePath_Click()
{
    if (m_processes)
        m_processes->SetChosenPath(m_target, CurrentPath());
    close();
}

void frmCLTYieldReportPath::cmdDone_Click() { close(); }

} // namespace vx
