#include "ui/Help.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#include "text/text.h"

namespace uzuviv {

namespace {

void DrawPin(QPainter& painter, const QRectF& box)
{
    // A map pin over a circle of track: what the program is about.
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = box.width(), h = box.height();
    painter.setPen(QPen(QColor(0, 0, 128), std::max<qreal>(1.0, w / 16)));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(box.left() + w * 0.1, box.top() + h * 0.55, w * 0.8, h * 0.35));
    QPainterPath pin;
    const QPointF tip(box.center().x(), box.top() + h * 0.72);
    const qreal r = w * 0.22;
    const QPointF head(box.center().x(), box.top() + h * 0.3);
    pin.moveTo(tip);
    pin.arcTo(QRectF(head.x() - r, head.y() - r, 2 * r, 2 * r), -60, 300);
    pin.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 30, 30));
    painter.drawPath(pin);
    painter.setBrush(Qt::white);
    painter.drawEllipse(head, r * 0.4, r * 0.4);
}

} // namespace

QPixmap ProductPicture(const QSize& size)
{
    // Drawn in the screen's own pixels, so a scaled screen shows it sharp; the painter keeps
    // working in the window's units.
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(QColor(230, 236, 245));
    QPainter painter(&pixmap);
    DrawPin(painter, QRectF(4, 2, size.height() - 4, size.height() - 4));
    painter.setPen(QColor(0, 0, 128));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(size.height() / 3);
    painter.setFont(font);
    painter.drawText(QRect(size.height(), 0, size.width() - size.height(), size.height()),
                     Qt::AlignCenter, QStringLiteral("OVRA"));
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int side : {16, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        DrawPin(painter, QRectF(0, 0, side, side));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm2"));
    setModal(true);
    setFixedSize(441, 124);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setGeometry(8, 8, 425, 73);
    bevel->setFrameShape(QFrame::Panel);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(16, 16, 128, 54);
    image1->setPixmap(ProductPicture(QSize(128, 54)));

    auto* image2 = new QLabel(this);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setGeometry(392, 32, 32, 32);
    image2->setPixmap(ProgramIcon().pixmap(32, 32));

    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(10);
    const struct { const char* name; int y; int height; bool arialFont; } texts[] = {
        {"StaticText1", 19, 20, true}, {"StaticText2", 40, 17, false}, {"StaticText3", 57, 18, true}};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(texts[i].name));
        label->setGeometry(152, texts[i].y, 225, texts[i].height);
        label->setAlignment(Qt::AlignCenter);
        if (texts[i].arialFont)
            label->setFont(arial);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        staticTexts_[i] = label;
    }

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("OKBtn"));
    okButton_->setGeometry(359, 92, 75, 25);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    setWindowIcon(ProgramIcon());
    FormActivate();
}

void TForm2::FormActivate()
{
    setWindowTitle(QString::fromStdString(LanguageText(TextTable::AboutTexts, 1)));
    for (int i = 0; i < 3; ++i)
        staticTexts_[i]->setText(QString::fromStdString(LanguageText(TextTable::AboutTexts, i + 2)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        if (!isVisible())
            move(screen->availableGeometry().center() - rect().center());
}

void TForm2::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

} // namespace uzuviv
