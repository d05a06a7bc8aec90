#include "ui/ProjetProperty.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>

#include "text/text.h"
#include "ui/FieldEdit.h"

namespace uzuviv {

namespace {

constexpr int NameLength = 64;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString JoinLines(const std::vector<std::string>& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << Q(line);
    return list.join(QLatin1Char('\n'));
}

// The comments as typed: toPlainText() would turn every no-break space into a blank.
QString MemoText(const QPlainTextEdit& memo)
{
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

std::vector<std::string> SplitLines(const QString& text)
{
    std::vector<std::string> lines;
    if (text.isEmpty())
        return lines;
    QStringList list = text.split(QLatin1Char('\n'));
    // A final line break typed after the last line leaves no empty comment line behind.
    if (list.size() > 1 && list.back().isEmpty())
        list.removeLast();
    for (const QString& line : list)
        lines.push_back(line.toStdString());
    return lines;
}

} // namespace

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm3"));
    setModal(true);
    setFixedSize(362, 406);

    labels_[0] = AddLabel("Label7", 8, 8, 103);
    edits_[0] = AddEdit("Edit1", 8, 240);
    edits_[0]->SetTypedMaxLength(NameLength);
    const char* labelNames[] = {"Label3", "Label4", "Label5", "Label6", "Label1"};
    const char* editNames[] = {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
    for (int row = 0; row < 5; ++row) {
        labels_[row + 1] = AddLabel(labelNames[row], 16, 40 + 32 * row, 95);
        edits_[row + 1] = AddEdit(editNames[row], 40 + 32 * row, 232);
    }
    labels_[6] = AddLabel("Label2", 16, 200, 329);

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setGeometry(17, 218, 327, 118);
    memo_->setFrameShape(QFrame::NoFrame);
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setTabChangesFocus(true);
    connect(memo_, &QPlainTextEdit::textChanged, this, &TForm3::FilterComments);

    okButton_ = new QPushButton(this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    okButton_->setGeometry(176, 368, 75, 25);
    cancelButton_ = new QPushButton(this);
    cancelButton_->setObjectName(QStringLiteral("Button2"));
    cancelButton_->setGeometry(272, 367, 75, 25);
    // Neither button is the default or the cancel button: Enter and Escape do not close.
    for (QPushButton* button : {okButton_, cancelButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(edits_[0], edits_[1]);
    for (int i = 1; i < 5; ++i)
        setTabOrder(edits_[i], edits_[i + 1]);
    setTabOrder(edits_[5], memo_);
    setTabOrder(memo_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    FormActivate();
}

QLabel* TForm3::AddLabel(const char* name, int x, int y, int width)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, width, 17);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    label->setFont(font);
    return label;
}

FieldEdit* TForm3::AddEdit(const char* name, int y, int width)
{
    auto* edit = new FieldEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(112, y + 1, width, 15);
    edit->setFrame(false);
    return edit;
}

void TForm3::FilterComments()
{
    if (filtering_)
        return;
    const QString text = MemoText(*memo_);
    const QString filtered = FieldText(text, true);
    if (filtered == text)
        return;
    filtering_ = true;
    const int cursor = memo_->textCursor().position();
    memo_->setPlainText(filtered);
    QTextCursor moved = memo_->textCursor();
    moved.setPosition(std::min<int>(std::max(0, cursor - static_cast<int>(text.size() - filtered.size())),
                                    static_cast<int>(filtered.size())));
    memo_->setTextCursor(moved);
    filtering_ = false;
}

void TForm3::FormActivate()
{
    setWindowTitle(Q(LanguageText(TextTable::PropertiesTexts, 1)));
    for (int i = 0; i < 7; ++i)
        labels_[i]->setText(Q(LanguageText(TextTable::PropertiesTexts, i + 2)));
    okButton_->setText(Q(LanguageText(TextTable::ButtonTexts, 1)));
    cancelButton_->setText(Q(LanguageText(TextTable::ButtonTexts, 2)));
    edits_[0]->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm3::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TForm3::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(127, 127, 127));
    painter.drawRect(9, 32, 343, 320);
    for (QLabel* label : labels_)
        painter.drawRect(label->geometry().adjusted(-1, -1, 0, 0));
    for (FieldEdit* edit : edits_)
        painter.drawRect(edit->geometry().adjusted(-1, -1, 0, 0));
    painter.drawRect(memo_->geometry().adjusted(-1, -1, 0, 0));
}

bool TForm3::Edit(ProjectProperties& values)
{
    const std::string* fields[] = {&values.ProjectName, &values.Subject, &values.Author,
                                   &values.Copyright, &values.Customer, &values.CreationDate};
    for (int i = 0; i < 6; ++i)
        edits_[i]->setText(Q(*fields[i]));
    const QString comments = JoinLines(values.ProjectComments);
    memo_->setPlainText(comments);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormActivate();
    if (exec() != QDialog::Accepted)
        return false;

    std::string* targets[] = {&values.ProjectName, &values.Subject, &values.Author,
                              &values.Copyright, &values.Customer, &values.CreationDate};
    for (int i = 0; i < 6; ++i)
        *targets[i] = edits_[i]->text().toStdString();
    // Untouched comments come back exactly as they went in, empty lines included.
    const QString typed = MemoText(*memo_);
    if (typed != comments)
        values.ProjectComments = SplitLines(typed);
    return true;
}

} // namespace uzuviv
