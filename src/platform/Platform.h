#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// Window titles by which Plumora's own notice windows find each other.
namespace WindowTitles {
inline const QString Reminder = QStringLiteral("- Reminder -");
inline const QString NewMail = QStringLiteral("- New e-mail -");
inline const QString Message = QStringLiteral("- Message -");
inline const QString PopMessage = QStringLiteral("- Plumora -");
} // namespace WindowTitles

// Special folders by their designed numbers.
enum class SpecialFolder { Documents = 5, Recent = 8, Desktop = 16, ProgramFiles = 38 };

// Buttons and answers of a message box.
enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Information, Question };
enum class MessageAnswer { Ok, Yes, No };

// Every effect Plumora has on the desktop goes through this one interface, so the rules
// that use them run in tests against a fake with no display.
class Platform {
public:
    virtual ~Platform() = default;

    // --- Windows -----------------------------------------------------------------------
    // A top-level window of ours with exactly this title exists.
    virtual bool IsWindowOpen(const QString& title) const = 0;
    bool IsReminderOpen() const { return IsWindowOpen(WindowTitles::Reminder); }
    bool IsNewMailOpen() const { return IsWindowOpen(WindowTitles::NewMail); }
    bool IsMessageOpen() const { return IsWindowOpen(WindowTitles::Message); }

    // Bottom edge of the desktop work area (the screen without panels), in pixels.
    virtual int GetWorkAreaBottom() const = 0;
    virtual QRect screenGeometry() const = 0;
    virtual QRect workArea() const = 0;
    virtual QPoint cursorPos() const = 0;
    virtual void MakeTopmost(QWidget* window) = 0;
    // Shows a window (modally when asked); any failure is swallowed and gives false.
    virtual bool ShowFormSafely(QWidget* window, bool modal) = 0;

    // --- Shell -------------------------------------------------------------------------
    virtual void OpenUrlInBrowser(const QString& address) = 0;
    virtual void OpenMailProgram() = 0;
    // Starts a program with its arguments, never through a shell; false when it cannot start.
    virtual bool StartProgram(const QString& program, const QStringList& arguments,
                              const QString& workingFolder = {}) = 0;

    // --- Settings store and folders ----------------------------------------------------
    // A string of the settings store; "" on any failure or for values of 256+ characters.
    virtual QString ReadRegistryString(const QString& root, const QString& key,
                                       const QString& name) const = 0;
    virtual void WriteRegistryString(const QString& root, const QString& key, const QString& name,
                                     const QString& text) = 0;
    // The folder's path ending in "/", or "" when it is unknown.
    virtual QString GetSpecialFolderPath(SpecialFolder folder) const = 0;
    // The folder picker; "" when cancelled.
    virtual QString BrowseForFolder(QWidget* owner, const QString& initialPath) = 0;

    // --- Network -----------------------------------------------------------------------
    virtual bool IsOnline() = 0;

    // --- Message boxes -----------------------------------------------------------------
    virtual MessageAnswer MessageBox(const QString& text, const QString& title,
                                     MessageButtons buttons, MessageIcon icon) = 0;
};
