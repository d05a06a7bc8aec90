#include "ui/CheckWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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
    resize(560, 320);

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
    if (isVisible())
        Recheck();
    else
        show();
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

void CheckWindow::ApplyLanguage()
{
    setWindowTitle(CheckText(CheckCaption));
    hint_->setText(CheckText(CheckHint));
    closeButton_->setText(CheckText(CheckClose));
    FillList();
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
    report_.Update(document_.CurrentProject());
    FillList();
}

void CheckWindow::FillList()
{
    const int current = findings_->currentRow();
    findings_->clear();
    const bool problems = !report_.Findings().empty();
    const QIcon icon = style()->standardIcon(problems ? QStyle::SP_MessageBoxWarning
                                                      : QStyle::SP_MessageBoxInformation);
    for (const std::string& line : report_.Lines())
        new QListWidgetItem(icon, QString::fromStdString(line), findings_);
    if (problems && current >= 0)
        findings_->setCurrentRow(std::min(current, findings_->count() - 1));
}

} // namespace uzuviv
