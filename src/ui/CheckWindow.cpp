#include "ui/CheckWindow.h"

#include <algorithm>
#include <optional>

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "text/text.h"

namespace uzuviv {

namespace {

QString CheckText(CheckTextItem item)
{
    return QString::fromStdString(LanguageText(TextTable::CheckTexts, item));
}

} // namespace

CheckWindow::CheckWindow(const Document& document, PointListView& list, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      document_(document), list_(list)
{
    setObjectName(QStringLiteral("CheckProjectWindow"));
    setModal(false);
    resize(500, 215);

    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("CheckHint"));
    findings_ = new QListWidget(this);
    findings_->setObjectName(QStringLiteral("CheckFindings"));
    findings_->setWordWrap(true);
    findings_->setUniformItemSizes(false);
    closeButton_ = new QPushButton(this);
    closeButton_->setObjectName(QStringLiteral("CheckClose"));
    closeButton_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint_);
    layout->addWidget(findings_, 1);
    layout->addLayout(buttons);

    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);
    connect(findings_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        report_.SelectPoints(static_cast<std::size_t>(findings_->row(item)), list_);
    });
    ApplyLanguage();
}

void CheckWindow::ShowChecked()
{
    stale_ = true;
    if (isVisible()) {
        Recheck();
    } else {
        if (!placed_)
            PlaceBesideMainWindow();
        show();
    }
    raise();
    activateWindow();
}

void CheckWindow::ProjectChanged()
{
    stale_ = true;
    if (!isVisible() || recheckPending_)
        return;
    // One check for a whole command, however many rows it touched.
    recheckPending_ = true;
    QTimer::singleShot(0, this, [this] {
        recheckPending_ = false;
        if (stale_ && isVisible())
            Recheck();
    });
}

// The first time, beside the main window, or as near its right edge as the screen allows: there
// it covers at most the comments of the first rows, never the numbers and coordinates of the
// points it selects, nor the editor panel where they are mended. Later the window stays
// wherever the user put it.
void CheckWindow::PlaceBesideMainWindow()
{
    placed_ = true;
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (main == nullptr || main->screen() == nullptr)
        return;
    const QRect frame = main->frameGeometry();
    const QRect screen = main->screen()->availableGeometry();
    move(std::max(screen.left(), std::min(frame.right() + 1, screen.right() - width())),
         frame.top());
}

void CheckWindow::ApplyLanguage()
{
    setWindowTitle(CheckText(CheckCaption));
    hint_->setText(CheckText(CheckHint));
    closeButton_->setText(CheckText(CheckClose));
    FillList(findings_->currentRow());
}

void CheckWindow::showEvent(QShowEvent* event)
{
    if (stale_)
        Recheck();
    QDialog::showEvent(event);
}

void CheckWindow::Recheck()
{
    stale_ = false;
    // The line the user was at stays current if its finding is still there.
    const auto& findings = report_.Findings();
    const int row = findings_->currentRow();
    std::optional<ProjectFinding> current;
    if (row >= 0 && static_cast<std::size_t>(row) < findings.size())
        current = findings[static_cast<std::size_t>(row)];
    report_.Update(document_.CurrentProject());
    const auto same = std::find_if(findings.begin(), findings.end(), [&](const ProjectFinding& f) {
        return current && f.Kind == current->Kind && f.Points == current->Points;
    });
    FillList(same == findings.end() ? -1 : static_cast<int>(same - findings.begin()));
}

void CheckWindow::FillList(int current)
{
    findings_->clear();
    const bool problems = !report_.Findings().empty();
    const QIcon icon = style()->standardIcon(problems ? QStyle::SP_MessageBoxWarning
                                                      : QStyle::SP_MessageBoxInformation);
    for (const std::string& line : report_.Lines())
        new QListWidgetItem(icon, QString::fromStdString(line), findings_);
    if (problems && current >= 0 && current < findings_->count())
        findings_->setCurrentRow(current);
}

} // namespace uzuviv
