// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ui/NoteCard.h"

#include "notes/NoteDeck.h"
#include "notes/NoteGeometry.h"
#include "notes/ui/NoteArtwork.h"
#include "shell/Twips.h"
#include "shell/ui/ArrowKeys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextEdit>

namespace {

// The arrows' size, in twips.
constexpr int ArrowWidth = 120;
constexpr int ArrowHeight = 195;
// One step of a move or resize with the keys: ten pixels.
constexpr int KeyStep = 10 * Twips::PerPixel;
constexpr int MarkPixels = 14;

QPen hairline(QRgb colour) {
    QPen pen{QColor(colour)};
    pen.setCosmetic(true);
    pen.setWidth(1);
    return pen;
}

} // namespace

NoteCard::NoteCard(int index, const QDate& created, QWidget* parent)
    : QWidget(parent), m_index(index), m_created(created) {
    setObjectName(QStringLiteral("NotesPic"));
    setProperty("index", index);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QString date = NoteGeometry::dateText(created);

    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("NotesRtb"));
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab leaves the note, so the keyboard reaches the other notes and the toolbar.
    m_text->setTabChangesFocus(true);
    m_text->setAccessibleName(date.isEmpty() ? tr("Note") : tr("Note of %1").arg(date));
    m_text->setAccessibleDescription(
        tr("Alt+arrow keys move the note, Alt+Shift+arrow keys resize it"));
    setTextBackground(NoteDeck::PaleYellow);
    m_text->installEventFilter(this);
    m_text->viewport()->installEventFilter(this);

    const qreal ratio = devicePixelRatioF();
    const QSize arrowSize(Twips::toPixels(ArrowWidth), Twips::toPixels(ArrowHeight));
    const auto arrow = [&](const char* name, bool up, const char* spoken) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setPixmap(NoteArtwork::arrow(up, arrowSize, ratio));
        label->setFixedSize(arrowSize);
        label->setAccessibleName(tr(spoken));
        label->setToolTip(tr(spoken));
        label->installEventFilter(this);
        return label;
    };
    m_up = arrow("upLb", true, QT_TR_NOOP("Scroll up"));
    m_down = arrow("dnLb", false, QT_TR_NOOP("Scroll down"));

    m_mark = new QLabel(this);
    m_mark->setObjectName(QStringLiteral("SchLb"));
    // The label starts above the card's top edge; its picture sits low, inside the header.
    m_mark->setPixmap(NoteArtwork::mark(MarkPixels, ratio));
    m_mark->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_mark->setFixedSize(MarkPixels + 2, MarkPixels + 6);
    m_mark->setAccessibleName(tr("Alarm set"));
    m_mark->setToolTip(tr("Alarm set"));
    m_mark->hide();
}

void NoteCard::setTwips(const QRect& twips) {
    m_twips = twips;
    setGeometry(Twips::toPixels(QRectF(twips)));
}

void NoteCard::setSchedule(int frequency, const QDateTime& due, bool markShown) {
    m_frequency = frequency;
    m_due = due;
    m_mark->setVisible(markShown);
    update();
}

bool NoteCard::markShown() const {
    return !m_mark->isHidden();
}

void NoteCard::setTextBackground(QRgb colour) {
    QPalette pal = m_text->palette();
    pal.setColor(QPalette::Base, QColor(colour));
    pal.setColor(QPalette::Text, Qt::black);
    m_text->setPalette(pal);
}

void NoteCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const NoteGeometry::Layout l = NoteGeometry::layout(m_twips.size(), ArrowHeight);
    m_text->setGeometry(Twips::toPixels(QRectF(l.text)));
    m_up->move(Twips::toPixels(QPointF(l.upArrow)));
    m_down->move(Twips::toPixels(QPointF(l.downArrow)));
    m_mark->move(Twips::toPixels(QPointF(l.mark)));
}

void NoteCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(NoteDeck::PaleYellow));
    const NoteGeometry::Decoration d = NoteGeometry::decoration(m_twips.size());
    p.save();
    p.scale(1.0 / Twips::PerPixel, 1.0 / Twips::PerPixel);
    p.setPen(hairline(NoteGeometry::BorderColour));
    p.drawRect(QRectF(QPointF(d.border.topLeft()), QPointF(d.border.bottomRight())));
    p.setPen(hairline(NoteGeometry::HeaderRuleColour));
    p.drawLine(d.headerRule);
    p.setPen(hairline(NoteGeometry::GripColour));
    p.drawLine(d.grip);
    p.restore();

    QFont f = font();
    f.setPointSizeF(8);
    p.setFont(f);
    p.setPen(QColor(0x40, 0x40, 0x00));
    const QString date = NoteGeometry::dateText(m_created);
    const int dateTwips = int(Twips::fromPixels(p.fontMetrics().horizontalAdvance(date)));
    const qreal x = Twips::toPixelsF(NoteGeometry::dateLeft(m_twips.width(), dateTwips));
    p.drawText(QPointF(x, Twips::toPixelsF(d.dateTop) + p.fontMetrics().ascent()), date);
}

QPoint NoteCard::twipsAt(const QPointF& pixels) {
    return {int(Twips::fromPixels(pixels.x())), int(Twips::fromPixels(pixels.y()))};
}

void NoteCard::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    Q_EMIT pressed(m_index);
    m_grab = twipsAt(event->position());
    if (NoteGeometry::dragAt(m_grab, m_twips.size()) == NoteGeometry::Drag::Resize) {
        m_drag = Drag::Resize;
        setCursor(Qt::SizeFDiagCursor);
    } else {
        m_drag = Drag::Move;
        setCursor(Qt::SizeAllCursor);
    }
}

void NoteCard::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || m_drag == Drag::None)
        return;
    const QPoint at = twipsAt(event->position());
    if (m_drag == Drag::Resize) {
        if (const std::optional<QSize> size = NoteGeometry::resizedTo(at))
            setTwips(QRect(m_twips.topLeft(), *size));
    } else {
        setTwips(QRect(NoteGeometry::movedTo(m_twips.topLeft(), at, m_grab), m_twips.size()));
    }
}

void NoteCard::mouseReleaseEvent(QMouseEvent* event) {
    if (m_drag == Drag::None || event->button() != Qt::LeftButton)
        return;
    m_drag = Drag::None;
    unsetCursor();
    update();
    Q_EMIT dragEnded(m_index);
}

bool NoteCard::keyDrag(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::AltModifier) || (modifiers & Qt::ControlModifier))
        return false;
    const std::optional<QPoint> arrow = arrowKeyStep(key, KeyStep);
    if (!arrow)
        return false;
    const QPoint step = *arrow;
    if (modifiers & Qt::ShiftModifier) {
        const QPoint corner = QPoint(m_twips.width(), m_twips.height()) + step;
        if (const std::optional<QSize> size = NoteGeometry::resizedTo(corner))
            setTwips(QRect(m_twips.topLeft(), *size));
    } else {
        setTwips(m_twips.translated(step));
    }
    Q_EMIT dragEnded(m_index);
    return true;
}

bool NoteCard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_up || watched == m_down) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            Q_EMIT arrowPressed(m_index, watched == m_up ? Qt::Key_Up : Qt::Key_Down);
            return true;
        }
        return false;
    }
    if (watched == m_text->viewport() && type == QEvent::MouseButtonPress) {
        Q_EMIT textTouched(m_index, true);
    } else if (watched == m_text) {
        if (type == QEvent::FocusIn) {
            Q_EMIT textFocused(m_index);
        } else if (type == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (keyDrag(key->key(), key->modifiers()))
                return true;
            Q_EMIT textTouched(m_index, false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

FocusFrame::FocusFrame(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SizeShp"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void FocusFrame::follow(QWidget* card) {
    if (parentWidget())
        parentWidget()->removeEventFilter(this);
    setParent(card);
    if (!card) {
        hide();
        return;
    }
    card->installEventFilter(this);
    setGeometry(card->rect());
    show();
    raise();
}

void FocusFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(QColor(0x60, 0x60, 0x00), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}
