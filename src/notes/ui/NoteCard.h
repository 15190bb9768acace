// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QWidget>

class QLabel;
class QTextEdit;

// One note's card (NotesPic): a header with the creation date, the text (NotesRtb), two
// scroll arrows (upLb, dnLb) and the alarm mark (SchLb). Its geometry is kept in twips
// inside the Quick Notes window. A press outside the text drags the card, or resizes it
// from the grip in the lower right corner; Alt+arrow keys in the text move it and
// Alt+Shift+arrow keys resize it. The window keeps the card on screen and stores it once
// the card reports the end of a drag.
class NoteCard : public QWidget {
    Q_OBJECT
public:
    NoteCard(int index, const QDate& created, QWidget* parent);

    int index() const { return m_index; }
    QTextEdit* text() const { return m_text; }
    QDate created() const { return m_created; }

    QRect twips() const { return m_twips; }
    void setTwips(const QRect& twips);
    // The geometry the data file holds.
    QRect stored() const { return m_stored; }
    void setStored(const QRect& twips) { m_stored = twips; }

    // The alarm as the data file holds it, and whether the mark shows.
    int frequency() const { return m_frequency; }
    QDateTime due() const { return m_due; }
    void setSchedule(int frequency, const QDateTime& due, bool markShown);
    bool markShown() const;

    void setTextBackground(QRgb colour);

Q_SIGNALS:
    // A press on the card outside its text.
    void pressed(int index);
    // A drag of the card, or a move or resize with the keys, has ended.
    void dragEnded(int index);
    // The user pressed a mouse button or a key in the text.
    void textTouched(int index, bool byMouse);
    // The text received the keyboard focus.
    void textFocused(int index);
    // An arrow was pressed: Qt::Key_Up or Qt::Key_Down.
    void arrowPressed(int index, int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Drag { None, Move, Resize };
    static QPoint twipsAt(const QPointF& pixels);
    bool keyDrag(int key, Qt::KeyboardModifiers modifiers);

    const int m_index;
    const QDate m_created;
    QRect m_twips;
    QRect m_stored;
    int m_frequency = 0;
    QDateTime m_due;
    Drag m_drag = Drag::None;
    QPoint m_grab; // twips inside the card at the press

    QTextEdit* m_text;
    QLabel* m_up;
    QLabel* m_down;
    QLabel* m_mark;
};

// The outline that marks the focused card (SizeShp); it lies in that card and follows its
// size.
class FocusFrame : public QWidget {
    Q_OBJECT
public:
    explicit FocusFrame(QWidget* parent = nullptr);
    // Moves the frame into `card` (or nowhere, when null).
    void follow(QWidget* card);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
