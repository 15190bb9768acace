#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// One POP3 new-mail check as a state machine with no socket of its own: the driver feeds it
// the bytes it receives and carries out the Step it returns.
//
// Greeting, CAPA; when the server offers STLS the connection is upgraded to TLS before USER,
// and a failed upgrade ends the check without the password ever being sent in clear text.
// A server without STLS (or refusing CAPA) gets USER, PASS, STAT and QUIT. Replies are read
// line by line, so a reply split over several reads counts once and two replies in one read
// count twice.
class Pop3Dialogue {
public:
    enum class Outcome {
        Running,
        NoMail,          // the mailbox is empty; silent
        NewMail,         // count() > 0 was announced
        Refused,         // a negative reply before the password was sent; silent
        PasswordRefused, // PASS was refused: ask the user for the password
        Failed,          // anything else went wrong; silent
    };

    // What the driver does next, in this order.
    struct Step {
        QByteArray send;       // write these bytes (possibly several commands)
        bool startTls = false; // upgrade the connection, then call tlsReady() or tlsFailed()
        bool announce = false; // count() > 0 just became known: show the notice now
        bool finished = false; // close the connection; outcome() is final
    };

    // A reply line longer than this ends the check.
    static constexpr int MaxLineBytes = 4096;

    Pop3Dialogue(const QString& user, const QString& password);

    Step received(QByteArrayView bytes);
    Step tlsReady();
    Step tlsFailed();
    // The connection dropped or failed.
    Step connectionLost();

    Outcome outcome() const { return m_outcome; }
    bool isFinished() const { return m_outcome != Outcome::Running; }
    bool passwordSent() const { return m_passwordSent; }
    // The message count of the STAT reply (0 until it arrived).
    int count() const { return m_count; }

private:
    enum class State { Greeting, Capa, CapaList, Stls, TlsWait, User, Pass, Stat, Quit, Done };

    void reply(const QByteArray& line, Step& step);
    void sendCredential(const char* command, const QByteArray& value, State next, Step& step);
    void finish(Outcome outcome, Step& step);

    QByteArray m_user;
    QByteArray m_password;
    QByteArray m_buffer;
    State m_state = State::Greeting;
    Outcome m_outcome = Outcome::Running;
    bool m_offersStls = false;
    bool m_passwordSent = false;
    int m_count = 0;
};
