<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>About Plumora</source>
        <translation>Über Plumora</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder neuer</translation>
    </message>
    <message>
        <source>for Linux desktops</source>
        <translation>für Linux-Desktops</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Plumora cannot do &quot;%1&quot;.</source>
        <translation>Plumora kann „%1“ nicht ausführen.</translation>
    </message>
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <source>the server does not say where the calendars are (no current-user-principal); is it a CalDAV server?</source>
        <translation>der Server gibt nicht an, wo die Kalender liegen (kein current-user-principal); ist es ein CalDAV-Server?</translation>
    </message>
    <message>
        <source>the server names no calendar home</source>
        <translation>der Server nennt kein Kalender-Stammverzeichnis</translation>
    </message>
    <message>
        <source>the calendars have not been found yet</source>
        <translation>die Kalender wurden noch nicht gesucht</translation>
    </message>
</context>
<context>
    <name>CalDavSync</name>
    <message>
        <source>The server no longer lists %1 of your %2 events. Delete them here too, or keep them and send them back?</source>
        <translation>Der Server führt %1 Ihrer %2 Termine nicht mehr. Sollen sie auch hier gelöscht werden, oder sollen sie behalten und erneut an den Server gesendet werden?</translation>
    </message>
    <message>
        <source>the sync was cancelled</source>
        <translation>der Abgleich wurde abgebrochen</translation>
    </message>
    <message>
        <source>the sync did not end within %1 minutes</source>
        <translation>der Abgleich endete nicht innerhalb von %1 Minuten</translation>
    </message>
    <message>
        <source>the server still had more changes after %1 pages; the next sync goes on from there</source>
        <translation>der Server hatte nach %1 Seiten noch weitere Änderungen; der nächste Abgleich setzt dort fort</translation>
    </message>
    <message>
        <source>the server announced more changes but sent none</source>
        <translation>der Server kündigte weitere Änderungen an, sandte aber keine</translation>
    </message>
    <message>
        <source>the server&apos;s listing does not name the calendar itself</source>
        <translation>die Auflistung des Servers nennt den Kalender selbst nicht</translation>
    </message>
    <message>
        <source>1 event sent, %1 received</source>
        <translation>1 Termin gesendet, %1 empfangen</translation>
    </message>
    <message>
        <source>%1 events sent, %2 received</source>
        <translation>%1 Termine gesendet, %2 empfangen</translation>
    </message>
    <message>
        <source>%1; %2 unreadable left out</source>
        <translation>%1; %2 unlesbare ausgelassen</translation>
    </message>
    <message>
        <source>Paused: the server no longer lists %1 of your %2 events</source>
        <translation>Angehalten: Der Server führt %1 Ihrer %2 Termine nicht mehr</translation>
    </message>
</context>
<context>
    <name>Calendar</name>
    <message>
        <source>Personal Calendar</source>
        <translation>Persönlicher Kalender</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>%1 (Page Up)</source>
        <translation>%1 (Bild auf)</translation>
    </message>
    <message>
        <source>%1 (Page Down)</source>
        <translation>%1 (Bild ab)</translation>
    </message>
    <message>
        <source>Next year</source>
        <translation>Nächstes Jahr</translation>
    </message>
    <message>
        <source>Previous year</source>
        <translation>Vorheriges Jahr</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Page Down)</source>
        <translation>%1 (Strg+Bild ab)</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Page Up)</source>
        <translation>%1 (Strg+Bild auf)</translation>
    </message>
    <message>
        <source>Days of the week</source>
        <translation>Wochentage</translation>
    </message>
    <message>
        <source>Month and year</source>
        <translation>Monat und Jahr</translation>
    </message>
    <message>
        <source>Search Events:</source>
        <translation>Termine suchen:</translation>
    </message>
    <message>
        <source>Search Events</source>
        <translation>Termine suchen</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Edit Events...</source>
        <translation>Bearbeiten...</translation>
    </message>
    <message>
        <source>Export Events</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Go Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Selected date</source>
        <translation>Ausgewähltes Datum</translation>
    </message>
    <message>
        <source>Coming 7 days</source>
        <translation>Nächste 7 Tage</translation>
    </message>
    <message>
        <source>Selected month</source>
        <translation>Ausgewählter Monat</translation>
    </message>
    <message>
        <source>iCalendar file (.ics)...</source>
        <translation>iCalendar-Datei (.ics)...</translation>
    </message>
    <message>
        <source>Import iCalendar file...</source>
        <translation>iCalendar-Datei importieren...</translation>
    </message>
    <message>
        <source>Subscribe to a calendar...</source>
        <translation>Kalender abonnieren...</translation>
    </message>
    <message>
        <source>&amp;Calendar</source>
        <translation>&amp;Kalender</translation>
    </message>
    <message>
        <source>&amp;Edit Events...</source>
        <translation>Termine &amp;bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Import iCalendar File...</source>
        <translation>iCalendar-Datei &amp;importieren...</translation>
    </message>
    <message>
        <source>&amp;Subscribe to a Calendar...</source>
        <translation>Kalender &amp;abonnieren...</translation>
    </message>
    <message>
        <source>E&amp;xport to an iCalendar File...</source>
        <translation>In iCalendar-Datei e&amp;xportieren...</translation>
    </message>
    <message>
        <source>Personal &amp;Calendar</source>
        <translation>Persönlicher &amp;Kalender</translation>
    </message>
</context>
<context>
    <name>CalendarImport</name>
    <message>
        <source>%1 event repeats without end; its dates are shown up to %2 and extended as time passes</source>
        <translation>%1 Termin wiederholt sich endlos; seine Daten werden bis %2 angezeigt und mit der Zeit fortgeschrieben</translation>
    </message>
    <message>
        <source>%1 events repeat without end; their dates are shown up to %2 or later and extended as time passes</source>
        <translation>%1 Termine wiederholen sich endlos; ihre Daten werden bis %2 oder später angezeigt und mit der Zeit fortgeschrieben</translation>
    </message>
    <message>
        <source>Nothing was imported from %1.

%2</source>
        <translation>Aus %1 wurde nichts importiert.

%2</translation>
    </message>
    <message>
        <source>Imported from %1:</source>
        <translation>Aus %1 importiert:</translation>
    </message>
    <message>
        <source>%1 event added</source>
        <translation>%1 Termin hinzugefügt</translation>
    </message>
    <message>
        <source>%1 events added</source>
        <translation>%1 Termine hinzugefügt</translation>
    </message>
    <message>
        <source>%1 event updated</source>
        <translation>%1 Termin aktualisiert</translation>
    </message>
    <message>
        <source>%1 events updated</source>
        <translation>%1 Termine aktualisiert</translation>
    </message>
    <message>
        <source>%1 event unchanged</source>
        <translation>%1 Termin unverändert</translation>
    </message>
    <message>
        <source>%1 events unchanged</source>
        <translation>%1 Termine unverändert</translation>
    </message>
    <message>
        <source>Skipped or changed:</source>
        <translation>Übersprungen oder geändert:</translation>
    </message>
    <message>
        <source>%1 event repeats in a way Plumora keeps as single dates</source>
        <translation>%1 Termin wiederholt sich auf eine Weise, die Plumora als einzelne Daten speichert</translation>
    </message>
    <message>
        <source>%1 events repeat in a way Plumora keeps as single dates</source>
        <translation>%1 Termine wiederholen sich auf eine Weise, die Plumora als einzelne Daten speichert</translation>
    </message>
    <message>
        <source>%1 event repeats more than 1,000 times; its first 1,000 dates were kept</source>
        <translation>%1 Termin wiederholt sich mehr als 1.000-mal; seine ersten 1.000 Daten wurden übernommen</translation>
    </message>
    <message>
        <source>%1 events repeat more than 1,000 times; their first 1,000 dates were kept</source>
        <translation>%1 Termine wiederholen sich mehr als 1.000-mal; ihre ersten 1.000 Daten wurden übernommen</translation>
    </message>
    <message>
        <source>%1 event repeats more often than daily; it is shown at its first time of each day</source>
        <translation>%1 Termin wiederholt sich öfter als täglich; er wird zu seiner ersten Uhrzeit jedes Tages angezeigt</translation>
    </message>
    <message>
        <source>%1 events repeat more often than daily; they are shown at their first time of each day</source>
        <translation>%1 Termine wiederholen sich öfter als täglich; sie werden zu ihrer ersten Uhrzeit jedes Tages angezeigt</translation>
    </message>
    <message>
        <source>%1 event repeats more often than daily in a pattern Plumora does not follow; its rule was left out</source>
        <translation>%1 Termin wiederholt sich öfter als täglich nach einem Muster, dem Plumora nicht folgt; seine Regel wurde ausgelassen</translation>
    </message>
    <message>
        <source>%1 events repeat more often than daily in a pattern Plumora does not follow; their rules were left out</source>
        <translation>%1 Termine wiederholen sich öfter als täglich nach einem Muster, dem Plumora nicht folgt; ihre Regeln wurden ausgelassen</translation>
    </message>
    <message>
        <source>%1 event repeats too densely to be followed to its end; the dates found first were kept</source>
        <translation>%1 Termin wiederholt sich zu dicht, um ihn bis zu seinem Ende zu verfolgen; die zuerst gefundenen Daten wurden übernommen</translation>
    </message>
    <message>
        <source>%1 events repeat too densely to be followed to their end; the dates found first were kept</source>
        <translation>%1 Termine wiederholen sich zu dicht, um sie bis zu ihrem Ende zu verfolgen; die zuerst gefundenen Daten wurden übernommen</translation>
    </message>
    <message>
        <source>%1 event was left out: one import makes at most 50,000 calendar rows</source>
        <translation>%1 Termin wurde ausgelassen: Ein Import legt höchstens 50.000 Kalenderzeilen an</translation>
    </message>
    <message>
        <source>%1 events were left out: one import makes at most 50,000 calendar rows</source>
        <translation>%1 Termine wurden ausgelassen: Ein Import legt höchstens 50.000 Kalenderzeilen an</translation>
    </message>
    <message>
        <source>%1 event has no date from a year ago to five years ahead</source>
        <translation>%1 Termin hat kein Datum zwischen vor einem Jahr und in fünf Jahren</translation>
    </message>
    <message>
        <source>%1 events have no date from a year ago to five years ahead</source>
        <translation>%1 Termine haben kein Datum zwischen vor einem Jahr und in fünf Jahren</translation>
    </message>
    <message>
        <source>%1 event lasts more than 31 days; its first 31 days were kept</source>
        <translation>%1 Termin dauert länger als 31 Tage; seine ersten 31 Tage wurden übernommen</translation>
    </message>
    <message>
        <source>%1 events last more than 31 days; their first 31 days were kept</source>
        <translation>%1 Termine dauern länger als 31 Tage; ihre ersten 31 Tage wurden übernommen</translation>
    </message>
    <message>
        <source>%1 event has no date</source>
        <translation>%1 Termin hat kein Datum</translation>
    </message>
    <message>
        <source>%1 events have no date</source>
        <translation>%1 Termine haben kein Datum</translation>
    </message>
    <message>
        <source>%1 event is cancelled</source>
        <translation>%1 Termin ist abgesagt</translation>
    </message>
    <message>
        <source>%1 events are cancelled</source>
        <translation>%1 Termine sind abgesagt</translation>
    </message>
    <message>
        <source>%1 event repeats the UID of an earlier one</source>
        <translation>%1 Termin wiederholt die UID eines früheren</translation>
    </message>
    <message>
        <source>%1 events repeat the UID of earlier ones</source>
        <translation>%1 Termine wiederholen die UID früherer</translation>
    </message>
    <message>
        <source>%1 event is a holiday the calendar already has</source>
        <translation>%1 Termin ist ein Feiertag, den der Kalender bereits enthält</translation>
    </message>
    <message>
        <source>%1 events are holidays the calendar already has</source>
        <translation>%1 Termine sind Feiertage, die der Kalender bereits enthält</translation>
    </message>
    <message>
        <source>%1 item is not an event (a to-do, a journal entry)</source>
        <translation>%1 Eintrag ist kein Termin (eine Aufgabe, ein Journaleintrag)</translation>
    </message>
    <message>
        <source>%1 items are not events (to-dos, journal entries)</source>
        <translation>%1 Einträge sind keine Termine (Aufgaben, Journaleinträge)</translation>
    </message>
    <message>
        <source>The file is larger than 20 MB, which is more than a calendar holds; nothing was imported.</source>
        <translation>Die Datei ist größer als 20 MB und damit größer als jeder Kalender; es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>The file could not be read: %1</source>
        <translation>Die Datei konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The calendar could not be written: %1</source>
        <translation>Der Kalender konnte nicht geschrieben werden: %1</translation>
    </message>
</context>
<context>
    <name>CalendarOptionsGroup</name>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>As the system does</source>
        <translation>Wie im System eingestellt</translation>
    </message>
    <message>
        <source>Weeks start on</source>
        <translation>Wochen beginnen am</translation>
    </message>
    <message>
        <source>&amp;Weeks start on</source>
        <translation>&amp;Wochen beginnen am</translation>
    </message>
    <message>
        <source>The week&apos;s first day could not be saved in %1.</source>
        <translation>Der erste Tag der Woche konnte nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>CalendarSync</name>
    <message>
        <source>no password is stored; type it in Options</source>
        <translation>es ist kein Passwort gespeichert; geben Sie es in den Einstellungen ein</translation>
    </message>
    <message>
        <source>the keyring&apos;s password prompt was cancelled</source>
        <translation>die Passwortabfrage des Schlüsselbunds wurde abgebrochen</translation>
    </message>
    <message>
        <source>the keyring could not be read (%1)</source>
        <translation>der Schlüsselbund konnte nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>no keyring</source>
        <translation>kein Schlüsselbund</translation>
    </message>
    <message>
        <source>the sync was cancelled</source>
        <translation>der Abgleich wurde abgebrochen</translation>
    </message>
    <message>
        <source>the keyring did not answer</source>
        <translation>der Schlüsselbund hat nicht geantwortet</translation>
    </message>
    <message>
        <source>Changed both here and on the server, so kept twice; this computer&apos;s version is now:
%1</source>
        <translation>Hier und auf dem Server geändert, daher doppelt behalten; die Fassung dieses Computers lautet jetzt:
%1</translation>
    </message>
    <message>
        <source>%1
Calendar sync waits for your answer in Options, &quot;Calendar sync&quot;.</source>
        <translation>%1
Der Kalenderabgleich wartet auf Ihre Antwort in den Einstellungen unter „Kalenderabgleich“.</translation>
    </message>
    <message>
        <source>Calendar sync stopped: %1.
Check the account in Options, &quot;Calendar sync&quot;; Plumora tries again at the next sync.</source>
        <translation>Der Kalenderabgleich wurde angehalten: %1.
Prüfen Sie das Konto in den Einstellungen unter „Kalenderabgleich“; Plumora versucht es beim nächsten Abgleich erneut.</translation>
    </message>
</context>
<context>
    <name>CalendarSyncBox</name>
    <message>
        <source>Every 5 minutes</source>
        <translation>Alle 5 Minuten</translation>
    </message>
    <message>
        <source>Every 15 minutes</source>
        <translation>Alle 15 Minuten</translation>
    </message>
    <message>
        <source>Every hour</source>
        <translation>Stündlich</translation>
    </message>
    <message>
        <source>Only when I click Sync now</source>
        <translation>Nur bei Klick auf „Jetzt abgleichen“</translation>
    </message>
    <message>
        <source>Calendar sync</source>
        <translation>Kalenderabgleich</translation>
    </message>
    <message>
        <source>Server address</source>
        <translation>Serveradresse</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Where the password is kept</source>
        <translation>Wo das Passwort gespeichert ist</translation>
    </message>
    <message>
        <source>Find calendars</source>
        <translation>Kalender suchen</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Create &quot;Plumora&quot;</source>
        <translation>„Plumora“ anlegen</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Abgleich</translation>
    </message>
    <message>
        <source>Sync now</source>
        <translation>Jetzt abgleichen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancel the sync</source>
        <translation>Abgleich abbrechen</translation>
    </message>
    <message>
        <source>Sync status</source>
        <translation>Abgleichsstatus</translation>
    </message>
    <message>
        <source>Events the server no longer lists</source>
        <translation>Termine, die der Server nicht mehr führt</translation>
    </message>
    <message>
        <source>Delete them here too</source>
        <translation>Auch hier löschen</translation>
    </message>
    <message>
        <source>Keep them and send them back</source>
        <translation>Behalten und erneut senden</translation>
    </message>
    <message>
        <source>Restore deleted events</source>
        <translation>Gelöschte Termine wiederherstellen</translation>
    </message>
    <message>
        <source>Server address:</source>
        <translation>Serveradresse:</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Calendar:</source>
        <translation>Kalender:</translation>
    </message>
    <message>
        <source>Sync:</source>
        <translation>Abgleich:</translation>
    </message>
    <message>
        <source>The calendars could not be found: %1</source>
        <translation>Die Kalender konnten nicht gefunden werden: %1</translation>
    </message>
    <message>
        <source>The server has no calendar for events; click Create &quot;Plumora&quot; to make one.</source>
        <translation>Der Server hat keinen Kalender für Termine; klicken Sie auf „Plumora“ anlegen, um einen zu erstellen.</translation>
    </message>
    <message>
        <source>1 calendar found. Pick one and click Sync now.</source>
        <translation>1 Kalender gefunden. Wählen Sie einen aus und klicken Sie auf „Jetzt abgleichen“.</translation>
    </message>
    <message>
        <source>%1 calendars found. Pick one and click Sync now.</source>
        <translation>%1 Kalender gefunden. Wählen Sie einen aus und klicken Sie auf „Jetzt abgleichen“.</translation>
    </message>
    <message>
        <source>&quot;Plumora&quot; could not be made: %1</source>
        <translation>„Plumora“ konnte nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>The calendar &quot;Plumora&quot; is ready. Click Sync now.</source>
        <translation>Der Kalender „Plumora“ ist bereit. Klicken Sie auf „Jetzt abgleichen“.</translation>
    </message>
    <message>
        <source>Syncing...</source>
        <translation>Wird abgeglichen...</translation>
    </message>
    <message>
        <source>%1 Calendar sync waits for your answer.</source>
        <translation>%1 Der Kalenderabgleich wartet auf Ihre Antwort.</translation>
    </message>
    <message>
        <source>Restore the event deleted on %1</source>
        <translation>Den am %1 gelöschten Termin wiederherstellen</translation>
    </message>
    <message>
        <source>Restore the %1 events deleted on %2</source>
        <translation>Die %1 am %2 gelöschten Termine wiederherstellen</translation>
    </message>
    <message>
        <source>Calendar sync is not available in this window.</source>
        <translation>Der Kalenderabgleich ist in diesem Fenster nicht verfügbar.</translation>
    </message>
    <message>
        <source>The answer could not be saved: %1</source>
        <translation>Die Antwort konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The deleted events could not be restored: %1</source>
        <translation>Die gelöschten Termine konnten nicht wiederhergestellt werden: %1</translation>
    </message>
    <message>
        <source>1 event restored.</source>
        <translation>1 Termin wiederhergestellt.</translation>
    </message>
    <message>
        <source>%1 events restored.</source>
        <translation>%1 Termine wiederhergestellt.</translation>
    </message>
    <message>
        <source>Not synced yet.</source>
        <translation>Noch nicht abgeglichen.</translation>
    </message>
    <message>
        <source>Not set up.</source>
        <translation>Nicht eingerichtet.</translation>
    </message>
    <message>
        <source>Last sync: %1.</source>
        <translation>Letzter Abgleich: %1.</translation>
    </message>
    <message>
        <source>No sync has worked yet.</source>
        <translation>Bisher ist kein Abgleich gelungen.</translation>
    </message>
    <message>
        <source>Last sync: %1. %2.</source>
        <translation>Letzter Abgleich: %1. %2.</translation>
    </message>
    <message>
        <source>Last attempt %1: %2. %3</source>
        <translation>Letzter Versuch %1: %2. %3</translation>
    </message>
    <message>
        <source>Looking for calendars...</source>
        <translation>Kalender werden gesucht...</translation>
    </message>
    <message>
        <source>The keyring&apos;s prompt was cancelled: the stored password could not be read.</source>
        <translation>Die Abfrage des Schlüsselbunds wurde abgebrochen: Das gespeicherte Passwort konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Type the password first.</source>
        <translation>Geben Sie zuerst das Passwort ein.</translation>
    </message>
    <message>
        <source>The keyring&apos;s prompt was cancelled: the password was not stored.</source>
        <translation>Die Abfrage des Schlüsselbunds wurde abgebrochen: Das Passwort wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The password could not be saved: %1</source>
        <translation>Das Passwort konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Making the calendar &quot;Plumora&quot;...</source>
        <translation>Der Kalender „Plumora“ wird angelegt...</translation>
    </message>
    <message>
        <source>The account could not be saved: %1</source>
        <translation>Das Konto konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The calendar sync account</source>
        <translation>Das Konto für den Kalenderabgleich</translation>
    </message>
    <message>
        <source>Find the calendars and pick one first.</source>
        <translation>Suchen Sie zuerst die Kalender und wählen Sie einen aus.</translation>
    </message>
    <message>
        <source>A sync is already running.</source>
        <translation>Es läuft bereits ein Abgleich.</translation>
    </message>
    <message>
        <source>Answer the question below first: calendar sync waits for it.</source>
        <translation>Beantworten Sie zuerst die Frage unten: Der Kalenderabgleich wartet darauf.</translation>
    </message>
    <message>
        <source>The sync could not start: the account is incomplete.</source>
        <translation>Der Abgleich konnte nicht starten: Das Konto ist unvollständig.</translation>
    </message>
</context>
<context>
    <name>CalendarTool</name>
    <message>
        <source>The events could not be searched.

%1</source>
        <translation>Die Termine konnten nicht durchsucht werden.

%1</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>The events could not be exported.

%1</source>
        <translation>Die Termine konnten nicht exportiert werden.

%1</translation>
    </message>
    <message>
        <source>No web browser could be started to show the events. They were saved as %1.</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um die Termine anzuzeigen. Sie wurden als %1 gespeichert.</translation>
    </message>
    <message>
        <source>There were no events to export: an empty calendar was written to %1.</source>
        <translation>Es gab keine Termine zum Exportieren: Ein leerer Kalender wurde nach %1 geschrieben.</translation>
    </message>
    <message>
        <source>1 event was exported to %1.</source>
        <translation>1 Termin wurde nach %1 exportiert.</translation>
    </message>
    <message>
        <source>%1 events were exported to %2.</source>
        <translation>%1 Termine wurden nach %2 exportiert.</translation>
    </message>
    <message>
        <source>&amp;Events:</source>
        <translation>&amp;Termine:</translation>
    </message>
    <message>
        <source>All events</source>
        <translation>Alle Termine</translation>
    </message>
    <message>
        <source>Selected date</source>
        <translation>Ausgewähltes Datum</translation>
    </message>
    <message>
        <source>Coming 7 days</source>
        <translation>Nächste 7 Tage</translation>
    </message>
    <message>
        <source>Selected month</source>
        <translation>Ausgewählter Monat</translation>
    </message>
    <message>
        <source>Include holidays</source>
        <translation>Feiertage einschließen</translation>
    </message>
    <message>
        <source>Export to an iCalendar file</source>
        <translation>In eine iCalendar-Datei exportieren</translation>
    </message>
    <message>
        <source>iCalendar files (*.ics)</source>
        <translation>iCalendar-Dateien (*.ics)</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Import iCalendar file</source>
        <translation>iCalendar-Datei importieren</translation>
    </message>
</context>
<context>
    <name>CapturePreview</name>
    <message>
        <source>Picture viewer</source>
        <translation>Bildbetrachter</translation>
    </message>
    <message>
        <source>Captured picture</source>
        <translation>Aufgenommenes Bild</translation>
    </message>
    <message>
        <source>Drag it or use the arrow keys to move it; Home puts it back.</source>
        <translation>Ziehen Sie es oder verschieben Sie es mit den Pfeiltasten; Pos1 setzt es zurück.</translation>
    </message>
    <message>
        <source>This picture cannot be read.</source>
        <translation>Dieses Bild kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>CaptureRules</name>
    <message>
        <source>Please enter a shorter description!</source>
        <translation>Bitte geben Sie eine kürzere Beschreibung ein!</translation>
    </message>
    <message>
        <source>The description cannot be empty. Please type a few words for the picture.</source>
        <translation>Die Beschreibung darf nicht leer sein. Bitte geben Sie ein paar Worte zum Bild ein.</translation>
    </message>
    <message>
        <source> Delete this captured image ?  </source>
        <translation> Dieses aufgenommene Bild löschen?  </translation>
    </message>
</context>
<context>
    <name>CaptureStore</name>
    <message>
        <source>the capture no longer exists</source>
        <translation>die Aufnahme existiert nicht mehr</translation>
    </message>
    <message>
        <source>the picture cannot be read</source>
        <translation>das Bild kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the screen grab is empty</source>
        <translation>das Bildschirmfoto ist leer</translation>
    </message>
    <message>
        <source>the picture cannot be encoded</source>
        <translation>das Bild kann nicht kodiert werden</translation>
    </message>
</context>
<context>
    <name>CaptureTool</name>
    <message>
        <source>Screen Capture</source>
        <translation>Bildschirmfoto</translation>
    </message>
    <message>
        <source>&amp;Screen Capture</source>
        <translation>&amp;Bildschirmfoto</translation>
    </message>
    <message>
        <source>Screen Capture could not be opened.</source>
        <translation>Bildschirmfoto konnte nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>CaptureToolBox</name>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Selected Area</source>
        <translation>Ausgewählter Bereich</translation>
    </message>
    <message>
        <source>This monitor</source>
        <translation>Dieser Bildschirm</translation>
    </message>
    <message>
        <source>The monitor under the pointer</source>
        <translation>Der Bildschirm unter dem Mauszeiger</translation>
    </message>
    <message>
        <source>Cancel Capture</source>
        <translation>Aufnahme abbrechen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>CheckMail</name>
    <message>
        <source>You have</source>
        <translation>Sie haben</translation>
    </message>
    <message>
        <source>new e-mail</source>
        <translation>neue E-Mail(s)</translation>
    </message>
    <message>
        <source>waiting for download to</source>
        <translation>zum Abholen bereit für</translation>
    </message>
    <message>
        <source>The mail server refused the password GNOME Online Accounts keeps for %1. Correct it in the desktop&apos;s Settings, Online Accounts.</source>
        <translation>Der E-Mail-Server hat das Passwort abgelehnt, das GNOME Online-Konten für %1 speichert. Korrigieren Sie es in den Einstellungen des Desktops unter „Online-Konten“.</translation>
    </message>
    <message>
        <source>the check did not finish</source>
        <translation>die Prüfung wurde nicht abgeschlossen</translation>
    </message>
    <message>
        <source>the mail account could not be read from the data file</source>
        <translation>das E-Mail-Konto konnte nicht aus der Datendatei gelesen werden</translation>
    </message>
    <message>
        <source>no mail server is set</source>
        <translation>es ist kein E-Mail-Server eingestellt</translation>
    </message>
    <message>
        <source>no user name is set</source>
        <translation>es ist kein Benutzername eingestellt</translation>
    </message>
    <message>
        <source>%1 signs in through its own page; choose its account of GNOME Online Accounts in Options</source>
        <translation>%1 meldet sich über eine eigene Seite an; wählen Sie in den Einstellungen das zugehörige Konto aus GNOME Online-Konten</translation>
    </message>
    <message>
        <source>no password is stored; type it in Options</source>
        <translation>es ist kein Passwort gespeichert; geben Sie es in den Einstellungen ein</translation>
    </message>
    <message>
        <source>The mail password could not be read from the desktop&apos;s keyring (%1).</source>
        <translation>Das E-Mail-Passwort konnte nicht aus dem Schlüsselbund des Desktops gelesen werden (%1).</translation>
    </message>
    <message>
        <source>the password could not be read from the keyring (%1)</source>
        <translation>das Passwort konnte nicht aus dem Schlüsselbund gelesen werden (%1)</translation>
    </message>
    <message>
        <source>in the inbox of</source>
        <translation>im Posteingang von</translation>
    </message>
    <message>
        <source>No mail program could be started.</source>
        <translation>Es konnte kein E-Mail-Programm gestartet werden.</translation>
    </message>
</context>
<context>
    <name>CommandDispatcher</name>
    <message>
        <source>Unload Plumora?  </source>
        <translation>Plumora beenden?  </translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1.</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um %1 zu öffnen.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Plumora keeps a calendar with reminders, Quick Notes, a scheduler, Quick Access, screen capture, a wallpaper changer and a new-mail watch in the notification area. Starting it again shows the running copy.

Each action below goes to the running copy, which is started when none runs. The exit status is 0 once the running copy has taken the action; otherwise Plumora says why and ends with 1.

Environment:
  PLUMORA_HOME  keep the data file (data.plm) in this folder instead
  QT_LOGGING_RULES=&quot;plumora.*=true&quot;  log why background work did not happen</source>
        <translation>Plumora bietet im Benachrichtigungsfeld einen Kalender mit Erinnerungen, Schnellnotizen, einen Energieplaner, Schnellzugriff, Bildschirmfotos, einen Hintergrundbildwechsler und eine E-Mail-Überwachung. Ein erneuter Start zeigt die laufende Instanz an.

Jede der folgenden Aktionen geht an die laufende Instanz, die gestartet wird, falls keine läuft. Der Rückgabewert ist 0, sobald die laufende Instanz die Aktion übernommen hat; andernfalls nennt Plumora den Grund und endet mit 1.

Umgebung:
  PLUMORA_HOME  die Datendatei (data.plm) stattdessen in diesem Ordner ablegen
  QT_LOGGING_RULES=&quot;plumora.*=true&quot;  protokollieren, warum Hintergrundarbeit nicht stattfand</translation>
    </message>
    <message>
        <source>Import the iCalendar files given into the calendar of the running copy (started when none runs).</source>
        <translation>Die angegebenen iCalendar-Dateien in den Kalender der laufenden Instanz importieren (wird gestartet, falls keine läuft).</translation>
    </message>
    <message>
        <source>Freeze the screen and let the user choose the area to capture, as Screen Capture&apos;s &quot;Selected Area&quot; does.</source>
        <translation>Den Bildschirm einfrieren und den aufzunehmenden Bereich wählen lassen, wie es „Ausgewählter Bereich“ im Bildschirmfoto tut.</translation>
    </message>
    <message>
        <source>Put a new note on screen, ready for typing, holding TEXT when given (at most 64 KB).</source>
        <translation>Eine neue Notiz zum Schreiben auf den Bildschirm bringen, mit TEXT, falls angegeben (höchstens 64 KB).</translation>
    </message>
    <message>
        <source>Open the main window on the tool ID: calendar, notes, scheduler, quick-access, capture, wallpaper or options.</source>
        <translation>Das Hauptfenster mit dem Werkzeug ID öffnen: calendar, notes, scheduler, quick-access, capture, wallpaper oder options.</translation>
    </message>
    <message>
        <source>iCalendar (.ics) files to import.</source>
        <translation>Zu importierende iCalendar-Dateien (.ics).</translation>
    </message>
    <message>
        <source>The new note&apos;s text (words joined by spaces).</source>
        <translation>Der Text der neuen Notiz (Wörter durch Leerzeichen verbunden).</translation>
    </message>
    <message>
        <source>Give one of --import, --capture, --new-note and --show at a time.</source>
        <translation>Geben Sie jeweils nur eine der Optionen --import, --capture, --new-note und --show an.</translation>
    </message>
    <message>
        <source>--%1 takes no further arguments: %2</source>
        <translation>--%1 nimmt keine weiteren Argumente an: %2</translation>
    </message>
</context>
<context>
    <name>DataBackup</name>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Data has been backup to &apos;%1&apos;.</source>
        <translation>Die Daten wurden nach „%1“ gesichert.</translation>
    </message>
    <message>
        <source>Error during backup !</source>
        <translation>Fehler beim Sichern!</translation>
    </message>
    <message>
        <source>Data file not found !</source>
        <translation>Datendatei nicht gefunden!</translation>
    </message>
    <message>
        <source>Restore will overwrite all current Plumora data.
Are you sure to restore data?</source>
        <translation>Die Wiederherstellung überschreibt alle aktuellen Plumora-Daten.
Möchten Sie die Daten wirklich wiederherstellen?</translation>
    </message>
    <message>
        <source>Restore is complete.</source>
        <translation>Die Wiederherstellung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>Error during restore !</source>
        <translation>Fehler bei der Wiederherstellung!</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be restored: %2.
Nothing was changed.</source>
        <translation>„%1“ kann nicht wiederhergestellt werden: %2.
Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>These parts of the restored file are not Plumora&apos;s and were left out:</source>
        <translation>Diese Teile der wiederhergestellten Datei stammen nicht von Plumora und wurden ausgelassen:</translation>
    </message>
</context>
<context>
    <name>DataFile</name>
    <message>
        <source>data file not found: %1</source>
        <translation>Datendatei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>data file not open</source>
        <translation>Datendatei nicht geöffnet</translation>
    </message>
</context>
<context>
    <name>DavHttp</name>
    <message>
        <source>the server refused the user name or password (401)</source>
        <translation>der Server hat Benutzername oder Passwort abgelehnt (401)</translation>
    </message>
    <message>
        <source>the server does not allow this (403)</source>
        <translation>der Server erlaubt dies nicht (403)</translation>
    </message>
    <message>
        <source>the server has no such address (404)</source>
        <translation>der Server kennt diese Adresse nicht (404)</translation>
    </message>
    <message>
        <source>the server has no room left (507 Insufficient Storage)</source>
        <translation>der Server hat keinen Platz mehr (507 Insufficient Storage)</translation>
    </message>
    <message>
        <source>the server failed (status %1)</source>
        <translation>auf dem Server ist ein Fehler aufgetreten (Status %1)</translation>
    </message>
    <message>
        <source>the server answered with status %1</source>
        <translation>der Server antwortete mit Status %1</translation>
    </message>
    <message>
        <source>the server address is not a web address</source>
        <translation>die Serveradresse ist keine Webadresse</translation>
    </message>
    <message>
        <source>the server address must begin with https:// (plain http is allowed only for this computer)</source>
        <translation>die Serveradresse muss mit https:// beginnen (einfaches http ist nur für diesen Computer erlaubt)</translation>
    </message>
    <message>
        <source>the server&apos;s answer is larger than %1 MB</source>
        <translation>die Antwort des Servers ist größer als %1 MB</translation>
    </message>
    <message>
        <source>the server&apos;s answer did not come within %1 s</source>
        <translation>die Antwort des Servers kam nicht innerhalb von %1 s</translation>
    </message>
    <message>
        <source>the server&apos;s certificate could not be verified: %1</source>
        <translation>das Zertifikat des Servers konnte nicht überprüft werden: %1</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>der Server hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>the server could not be reached: %1</source>
        <translation>der Server war nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>the server redirected more than %1 times</source>
        <translation>der Server hat mehr als %1-mal umgeleitet</translation>
    </message>
    <message>
        <source>the server redirected to no valid address</source>
        <translation>der Server hat auf keine gültige Adresse umgeleitet</translation>
    </message>
</context>
<context>
    <name>DavXml</name>
    <message>
        <source>the server&apos;s answer is larger than 50 MB</source>
        <translation>die Antwort des Servers ist größer als 50 MB</translation>
    </message>
    <message>
        <source>the server&apos;s answer is not a multistatus (it holds a DTD)</source>
        <translation>die Antwort des Servers ist kein Multistatus (sie enthält eine DTD)</translation>
    </message>
    <message>
        <source>the server&apos;s answer is not a multistatus (no element in its first %1 kB)</source>
        <translation>die Antwort des Servers ist kein Multistatus (kein Element in ihren ersten %1 kB)</translation>
    </message>
    <message>
        <source>the server&apos;s answer is not XML: %1 (line %2)</source>
        <translation>die Antwort des Servers ist kein XML: %1 (Zeile %2)</translation>
    </message>
    <message>
        <source>the server&apos;s answer is not a multistatus</source>
        <translation>die Antwort des Servers ist kein Multistatus</translation>
    </message>
    <message>
        <source>the server&apos;s answer is not well-formed XML: %1 (line %2)</source>
        <translation>die Antwort des Servers ist kein wohlgeformtes XML: %1 (Zeile %2)</translation>
    </message>
</context>
<context>
    <name>DesktopWallpaper</name>
    <message>
        <source>Plumora cannot set the wallpaper on this desktop</source>
        <translation>Plumora kann in dieser Arbeitsumgebung kein Hintergrundbild festlegen</translation>
    </message>
    <message>
        <source>%1 could not be started</source>
        <translation>%1 konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>%1 failed (exit code %2)</source>
        <translation>%1 ist fehlgeschlagen (Exit-Code %2)</translation>
    </message>
    <message>
        <source>xfconf-query lists no backdrop picture property</source>
        <translation>xfconf-query nennt keine Eigenschaft für das Hintergrundbild</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: Datei nicht vorhanden</translation>
    </message>
    <message>
        <source>%1: cannot be written</source>
        <translation>%1: kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>EditEvents</name>
    <message>
        <source>Icon</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Event Description</source>
        <translation>Terminbeschreibung</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Wiederholung</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>weekly</source>
        <translation>wöchentlich</translation>
    </message>
    <message>
        <source>monthly</source>
        <translation>monatlich</translation>
    </message>
    <message>
        <source>yearly</source>
        <translation>jährlich</translation>
    </message>
    <message>
        <source>The events of this day were changed and not saved. Close without saving them?</source>
        <translation>Die Termine dieses Tages wurden geändert und nicht gespeichert. Ohne Speichern schließen?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Edit Events - %1</source>
        <translation>Termine bearbeiten - %1</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Termine</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Holiday</source>
        <translation>Feiertag</translation>
    </message>
    <message>
        <source>Marked for deletion</source>
        <translation>Zum Löschen markiert</translation>
    </message>
    <message>
        <source>Not marked</source>
        <translation>Nicht markiert</translation>
    </message>
    <message>
        <source>No icon</source>
        <translation>Kein Symbol</translation>
    </message>
    <message>
        <source>%1

The calendar was left as it was; your changes stay here.</source>
        <translation>%1

Der Kalender blieb unverändert; Ihre Änderungen bleiben hier erhalten.</translation>
    </message>
    <message>
        <source>The events of this day</source>
        <translation>Die Termine dieses Tages</translation>
    </message>
    <message>
        <source>MMM dd yyyy</source>
        <comment>date format of the editor&apos;s title</comment>
        <translation>dd. MMM yyyy</translation>
    </message>
</context>
<context>
    <name>EventExport</name>
    <message>
        <source>There is no export range %1.</source>
        <translation>Es gibt keinen Exportbereich %1.</translation>
    </message>
    <message>
        <source>Event List</source>
        <translation>Terminliste</translation>
    </message>
    <message>
        <source>(from:%1 to:%2)</source>
        <translation>(von: %1 bis: %2)</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Termin</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
</context>
<context>
    <name>EventSearch</name>
    <message>
        <source>No more result found.</source>
        <translation>Keine weiteren Treffer gefunden.</translation>
    </message>
</context>
<context>
    <name>EventStore</name>
    <message>
        <source>an event has no valid date</source>
        <translation>ein Termin hat kein gültiges Datum</translation>
    </message>
    <message>
        <source>a holiday has no valid date</source>
        <translation>ein Feiertag hat kein gültiges Datum</translation>
    </message>
</context>
<context>
    <name>FileReplace</name>
    <message>
        <source>cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>cannot write %1 to the disk: %2</source>
        <translation>%1 kann nicht auf den Datenträger geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot keep %1 as %2: %3</source>
        <translation>%1 kann nicht als %2 aufbewahrt werden: %3</translation>
    </message>
    <message>
        <source>cannot keep %1 as %2</source>
        <translation>%1 kann nicht als %2 aufbewahrt werden</translation>
    </message>
    <message>
        <source>cannot move %1 to %2: %3</source>
        <translation>%1 kann nicht nach %2 verschoben werden: %3</translation>
    </message>
</context>
<context>
    <name>FullScreen</name>
    <message>
        <source>Screen Capture</source>
        <translation>Bildschirmfoto</translation>
    </message>
    <message>
        <source>Captured picture</source>
        <translation>Aufgenommenes Bild</translation>
    </message>
    <message>
        <source>Frozen screen: drag to choose an area</source>
        <translation>Eingefrorener Bildschirm: Ziehen Sie, um einen Bereich auszuwählen</translation>
    </message>
    <message>
        <source>Captured picture: click or press Esc to close</source>
        <translation>Aufgenommenes Bild: Zum Schließen klicken oder Esc drücken</translation>
    </message>
</context>
<context>
    <name>GnomeKeybindings</name>
    <message>
        <source>GNOME&apos;s keyboard shortcuts cannot be read (gsettings: %1).</source>
        <translation>Die Tastenkürzel von GNOME können nicht gelesen werden (gsettings: %1).</translation>
    </message>
    <message>
        <source>GNOME did not take the shortcut (gsettings: %1).</source>
        <translation>GNOME hat das Tastenkürzel nicht übernommen (gsettings: %1).</translation>
    </message>
</context>
<context>
    <name>GoaOnlineAccounts</name>
    <message>
        <source>the account is no longer in GNOME Online Accounts</source>
        <translation>das Konto ist nicht mehr in den GNOME-Online-Konten</translation>
    </message>
    <message>
        <source>GNOME Online Accounts did not answer within %1 seconds</source>
        <translation>Die GNOME-Online-Konten haben nicht innerhalb von %1 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>an empty answer</source>
        <translation>eine leere Antwort</translation>
    </message>
</context>
<context>
    <name>HelpLanguage</name>
    <message>
        <source>The help pages are in English for now.</source>
        <translation>Die Hilfeseiten gibt es vorerst nur auf Englisch.</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Plumora Help</source>
        <translation>Plumora-Hilfe</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Hilfetext</translation>
    </message>
    <message>
        <source>Plumora Help - %1</source>
        <translation>Plumora-Hilfe - %1</translation>
    </message>
</context>
<context>
    <name>HttpDownloader</name>
    <message>
        <source>not a web address: %1</source>
        <translation>keine Webadresse: %1</translation>
    </message>
    <message>
        <source>the answer is over %1 bytes</source>
        <translation>die Antwort ist größer als %1 Byte</translation>
    </message>
    <message>
        <source>no complete answer within %1 s</source>
        <translation>keine vollständige Antwort innerhalb von %1 s</translation>
    </message>
    <message>
        <source>the download failed</source>
        <translation>der Download ist fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>HunspellModule</name>
    <message>
        <source>The spelling module (%1) could not be loaded.</source>
        <translation>Das Rechtschreibmodul (%1) konnte nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>IcalModule</name>
    <message>
        <source>The iCalendar module (%1) could not be loaded.</source>
        <translation>Das iCalendar-Modul (%1) konnte nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>IconPickRules</name>
    <message>
        <source>Icon %1</source>
        <translation>Symbol %1</translation>
    </message>
</context>
<context>
    <name>IconPicker</name>
    <message>
        <source>Please select an icon file:</source>
        <translation>Bitte wählen Sie eine Symboldatei aus:</translation>
    </message>
    <message>
        <source>Icon Files (*.ico *.icl *.dll *.exe *.ICO *.ICL *.DLL *.EXE)</source>
        <translation>Symboldateien (*.ico *.icl *.dll *.exe *.ICO *.ICL *.DLL *.EXE)</translation>
    </message>
    <message>
        <source> Icon Files</source>
        <translation> Symboldateien</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select Icon</source>
        <translation>Symbol auswählen</translation>
    </message>
    <message>
        <source>Icons</source>
        <translation>Symbole</translation>
    </message>
    <message>
        <source>Icons not found, default library will be used.</source>
        <translation>Keine Symbole gefunden, die Standardbibliothek wird verwendet.</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
</context>
<context>
    <name>IcsImport</name>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>The file is larger than 20 MB, which is more than a calendar holds; nothing was imported.</source>
        <translation>Die Datei ist größer als 20 MB und damit größer als jeder Kalender; es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>The file holds more than 50,000 items; nothing was imported.</source>
        <translation>Die Datei enthält mehr als 50.000 Einträge; es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>this is not an iCalendar file.</source>
        <translation>dies ist keine iCalendar-Datei.</translation>
    </message>
    <message>
        <source>%1 is not a date and time that exists.</source>
        <translation>%1 ist kein existierendes Datum mit Uhrzeit.</translation>
    </message>
    <message>
        <source>Repeats without end; dates are shown up to %1 and extended as time passes</source>
        <translation>Wiederholt sich endlos; Daten werden bis %1 angezeigt und mit der Zeit fortgeschrieben</translation>
    </message>
</context>
<context>
    <name>IcsLines</name>
    <message>
        <source>this is not an iCalendar file (it does not begin with BEGIN:VCALENDAR).</source>
        <translation>dies ist keine iCalendar-Datei (sie beginnt nicht mit BEGIN:VCALENDAR).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an iCalendar line (NAME:value).</source>
        <translation>„%1“ ist keine iCalendar-Zeile (NAME:Wert).</translation>
    </message>
    <message>
        <source>END:%1 closes nothing.</source>
        <translation>END:%1 schließt nichts ab.</translation>
    </message>
    <message>
        <source>END:%1 does not close BEGIN:%2 of line %3.</source>
        <translation>END:%1 schließt nicht BEGIN:%2 aus Zeile %3 ab.</translation>
    </message>
    <message>
        <source>this line stands outside any BEGIN:VCALENDAR.</source>
        <translation>diese Zeile steht außerhalb jedes BEGIN:VCALENDAR.</translation>
    </message>
    <message>
        <source>the file ends before END:%1 (begun on line %2).</source>
        <translation>die Datei endet vor END:%1 (begonnen in Zeile %2).</translation>
    </message>
</context>
<context>
    <name>KeychainSecretStore</name>
    <message>
        <source>the keyring module could not be loaded</source>
        <translation>das Schlüsselbundmodul konnte nicht geladen werden</translation>
    </message>
</context>
<context>
    <name>KeysOptionsGroup</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>%1 shortcut</source>
        <translation>Tastenkürzel für „%1“</translation>
    </message>
    <message>
        <source>Suggested: %1</source>
        <translation>Vorschlag: %1</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>%1: no shortcut</source>
        <translation>%1: kein Tastenkürzel</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>Add to GNOME&apos;s keyboard shortcuts</source>
        <translation>Zu den Tastenkürzeln von GNOME hinzufügen</translation>
    </message>
    <message>
        <source>Keys that reach Plumora from any window. The desktop binds them and asks you to confirm them. None is bound until you choose one; Print is the usual key for capturing an area.</source>
        <translation>Tasten, die Plumora aus jedem Fenster erreichen. Die Arbeitsumgebung belegt sie und bittet Sie, sie zu bestätigen. Keine ist belegt, bis Sie eine wählen; Druck ist die übliche Taste zum Aufnehmen eines Bereichs.</translation>
    </message>
    <message>
        <source>Keys that reach Plumora from any window. None is bound until you choose one; Print is the usual key for capturing an area.</source>
        <translation>Tasten, die Plumora aus jedem Fenster erreichen. Keine ist belegt, bis Sie eine wählen; Druck ist die übliche Taste zum Aufnehmen eines Bereichs.</translation>
    </message>
    <message>
        <source>This desktop offers no global shortcuts to programs. Choose the keys here and add them to GNOME&apos;s own keyboard shortcuts.</source>
        <translation>Diese Arbeitsumgebung bietet Programmen keine globalen Tastenkürzel. Wählen Sie die Tasten hier und fügen Sie sie zu den Tastenkürzeln von GNOME hinzu.</translation>
    </message>
    <message>
        <source>This desktop offers no global shortcuts to programs. Bind these commands in the desktop&apos;s keyboard settings: %1, %2, %3.</source>
        <translation>Diese Arbeitsumgebung bietet Programmen keine globalen Tastenkürzel. Legen Sie diese Befehle in den Tastatureinstellungen der Arbeitsumgebung auf Tasten: %1, %2, %3.</translation>
    </message>
    <message>
        <source>Plumora: %1</source>
        <translation>Plumora: %1</translation>
    </message>
    <message>
        <source>GNOME runs %1 on %2.</source>
        <translation>GNOME führt %1 bei %2 aus.</translation>
    </message>
    <message>
        <source>GNOME holds no shortcut of Plumora yet.</source>
        <translation>GNOME hat noch kein Tastenkürzel von Plumora.</translation>
    </message>
</context>
<context>
    <name>LinuxMailClient</name>
    <message>
        <source>your mail program</source>
        <translation>Ihr E-Mail-Programm</translation>
    </message>
</context>
<context>
    <name>LinuxScreenGrabber</name>
    <message>
        <source>the screenshot shows no screen</source>
        <translation>das Bildschirmfoto zeigt keinen Bildschirm</translation>
    </message>
</context>
<context>
    <name>LogindSleepInhibitor</name>
    <message>
        <source>Saving notes and lists before sleep</source>
        <translation>Notizen und Listen werden vor dem Ruhezustand gespeichert</translation>
    </message>
</context>
<context>
    <name>MailAccountBox</name>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Mail server</source>
        <translation>E-Mail-Server</translation>
    </message>
    <message>
        <source>Server type</source>
        <translation>Servertyp</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Mail check status</source>
        <translation>Status der E-Mail-Prüfung</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>Jetzt prüfen</translation>
    </message>
    <message>
        <source>Mail server:</source>
        <translation>E-Mail-Server:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Security:</source>
        <translation>Sicherheit:</translation>
    </message>
    <message>
        <source>No security: the password and your mail cross the network unencrypted.</source>
        <translation>Keine Sicherheit: Das Passwort und Ihre E-Mails werden unverschlüsselt über das Netzwerk übertragen.</translation>
    </message>
</context>
<context>
    <name>MailCheck</name>
    <message>
        <source>connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>server not found</source>
        <translation>Server nicht gefunden</translation>
    </message>
    <message>
        <source>timed out</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>closed by the server</source>
        <translation>vom Server geschlossen</translation>
    </message>
    <message>
        <source>network unreachable</source>
        <translation>Netzwerk nicht erreichbar</translation>
    </message>
    <message>
        <source>the sign-in was not sent: %1</source>
        <translation>die Anmeldung wurde nicht gesendet: %1</translation>
    </message>
    <message>
        <source>no TLS support is available on this computer</source>
        <translation>auf diesem Computer ist keine TLS-Unterstützung verfügbar</translation>
    </message>
    <message>
        <source>%1:%2 did not answer within %3 seconds</source>
        <translation>%1:%2 hat nicht innerhalb von %3 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>the certificate of %1 was not accepted (%2)</source>
        <translation>das Zertifikat von %1 wurde nicht akzeptiert (%2)</translation>
    </message>
    <message>
        <source>the connection to %1:%2 ended (%3)</source>
        <translation>die Verbindung zu %1:%2 wurde beendet (%3)</translation>
    </message>
    <message>
        <source>The mail server %1 could not be checked: its certificate was not accepted (%2).</source>
        <translation>Der E-Mail-Server %1 konnte nicht geprüft werden: Sein Zertifikat wurde nicht akzeptiert (%2).</translation>
    </message>
    <message>
        <source>%1 refused the password of %2</source>
        <translation>%1 hat das Passwort von %2 abgelehnt</translation>
    </message>
    <message>
        <source>%1 offers no secure connection (STARTTLS); the password was not sent</source>
        <translation>%1 bietet keine sichere Verbindung (STARTTLS) an; das Passwort wurde nicht gesendet</translation>
    </message>
    <message>
        <source>The mail server %1 does not offer a secure connection (STARTTLS), which the account requires. Your user name and password were not sent.</source>
        <translation>Der E-Mail-Server %1 bietet keine sichere Verbindung (STARTTLS) an, die das Konto erfordert. Ihr Benutzername und Ihr Passwort wurden nicht gesendet.</translation>
    </message>
    <message>
        <source>%1 takes no passwords; the account needs a sign-in through GNOME Online Accounts</source>
        <translation>%1 nimmt keine Passwörter an; das Konto benötigt eine Anmeldung über GNOME Online-Konten</translation>
    </message>
    <message>
        <source>%1 refused the sign-in of %2</source>
        <translation>%1 hat die Anmeldung von %2 abgelehnt</translation>
    </message>
    <message>
        <source>%1 offers no OAuth2 sign-in</source>
        <translation>%1 bietet keine OAuth2-Anmeldung an</translation>
    </message>
    <message>
        <source>%1 refused the connection or the user name %2</source>
        <translation>%1 hat die Verbindung oder den Benutzernamen %2 abgelehnt</translation>
    </message>
    <message>
        <source>%1 gave an answer the check did not understand</source>
        <translation>%1 hat eine Antwort gegeben, die die Prüfung nicht verstanden hat</translation>
    </message>
</context>
<context>
    <name>MailCheckState</name>
    <message>
        <source>Last check %1: %2</source>
        <translation>Letzte Prüfung um %1: %2</translation>
    </message>
</context>
<context>
    <name>MailOptionsGroup</name>
    <message>
        <source>%1 E-mail</source>
        <translation>%1-E-Mail</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Check e-mail every</source>
        <translation>E-Mails prüfen alle</translation>
    </message>
    <message>
        <source>Check e-mail every, minutes</source>
        <translation>E-Mails prüfen alle, Minuten</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Default mail Account</source>
        <translation>Standard-E-Mail-Konto</translation>
    </message>
    <message>
        <source>Default mail Account:</source>
        <translation>Standard-E-Mail-Konto:</translation>
    </message>
    <message>
        <source>Account password</source>
        <translation>Kontopasswort</translation>
    </message>
    <message>
        <source>Account password:</source>
        <translation>Kontopasswort:</translation>
    </message>
    <message>
        <source>Sign in with</source>
        <translation>Anmelden mit</translation>
    </message>
    <message>
        <source>Sign in with:</source>
        <translation>Anmelden mit:</translation>
    </message>
    <message>
        <source>The account and password above</source>
        <translation>Dem Konto und Passwort oben</translation>
    </message>
    <message>
        <source>%1 (GNOME Online Accounts)</source>
        <translation>%1 (GNOME Online-Konten)</translation>
    </message>
    <message>
        <source>An account no longer in GNOME Online Accounts</source>
        <translation>Ein Konto, das nicht mehr in GNOME Online-Konten ist</translation>
    </message>
    <message>
        <source>GNOME Online Accounts is not available</source>
        <translation>GNOME Online-Konten ist nicht verfügbar</translation>
    </message>
    <message>
        <source>%1 signs in through its own page, which needs no password here. </source>
        <translation>%1 meldet sich über eine eigene Seite an, die hier kein Passwort benötigt. </translation>
    </message>
    <message>
        <source>Choose &quot;%1&quot; under Sign in with.</source>
        <translation>Wählen Sie „%1“ unter „Anmelden mit“.</translation>
    </message>
    <message>
        <source>Add the account in the desktop&apos;s Settings, Online Accounts, then choose it under Sign in with.</source>
        <translation>Fügen Sie das Konto in den Einstellungen des Desktops unter „Online-Konten“ hinzu und wählen Sie es dann unter „Anmelden mit“.</translation>
    </message>
    <message>
        <source>To check it: install GNOME Online Accounts, add the account in the desktop&apos;s Settings, Online Accounts, and choose it here.</source>
        <translation>Zum Prüfen: Installieren Sie GNOME Online-Konten, fügen Sie das Konto in den Einstellungen des Desktops unter „Online-Konten“ hinzu und wählen Sie es hier.</translation>
    </message>
    <message>
        <source>The options</source>
        <translation>Die Einstellungen</translation>
    </message>
    <message>
        <source>Storing the password...</source>
        <translation>Passwort wird gespeichert...</translation>
    </message>
    <message>
        <source>Checking...</source>
        <translation>Wird geprüft...</translation>
    </message>
    <message>
        <source>A check is running; its result follows here.</source>
        <translation>Eine Prüfung läuft; ihr Ergebnis erscheint hier.</translation>
    </message>
</context>
<context>
    <name>MailPassword</name>
    <message>
        <source>the data file could not be read</source>
        <translation>die Datendatei konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>no keyring</source>
        <translation>kein Schlüsselbund</translation>
    </message>
</context>
<context>
    <name>MailTexts</name>
    <message>
        <source>new e-mail</source>
        <translation>neue E-Mail(s)</translation>
    </message>
    <message>
        <source>unread message</source>
        <translation>ungelesene Nachricht</translation>
    </message>
    <message>
        <source>unread messages</source>
        <translation>ungelesene Nachrichten</translation>
    </message>
    <message>
        <source>%1 unread message</source>
        <translation>%1 ungelesene Nachricht</translation>
    </message>
    <message>
        <source>%1 unread messages</source>
        <translation>%1 ungelesene Nachrichten</translation>
    </message>
    <message>
        <source>%1 message waiting</source>
        <translation>%1 Nachricht wartet</translation>
    </message>
    <message>
        <source>%1 messages waiting</source>
        <translation>%1 Nachrichten warten</translation>
    </message>
    <message>
        <source>no new mail</source>
        <translation>keine neuen E-Mails</translation>
    </message>
    <message>
        <source>%1 new message</source>
        <translation>%1 neue Nachricht</translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation>%1 neue Nachrichten</translation>
    </message>
    <message>
        <source>could not connect to %1:%2 (%3)</source>
        <translation>keine Verbindung zu %1:%2 möglich (%3)</translation>
    </message>
    <message>
        <source>The mail server %1 no longer accepts passwords. This provider needs a sign-in through GNOME Online Accounts: add the account in the desktop&apos;s Settings, then choose it in Options.</source>
        <translation>Der E-Mail-Server %1 nimmt keine Passwörter mehr an. Dieser Anbieter erfordert eine Anmeldung über GNOME Online-Konten: Fügen Sie das Konto in den Einstellungen des Desktops hinzu und wählen Sie es dann in den Plumora-Einstellungen.</translation>
    </message>
    <message>
        <source>The mail account on %1 signs in through its provider&apos;s own page, so no password can work. Add the account in GNOME Online Accounts and choose it in Options.</source>
        <translation>Das E-Mail-Konto auf %1 meldet sich über die eigene Seite seines Anbieters an, daher kann kein Passwort funktionieren. Fügen Sie das Konto in GNOME Online-Konten hinzu und wählen Sie es in den Einstellungen.</translation>
    </message>
    <message>
        <source>The new-mail check failed: %1.
Click here to check the account in Options.</source>
        <translation>Die Prüfung auf neue E-Mails ist fehlgeschlagen: %1.
Klicken Sie hier, um das Konto in den Einstellungen zu überprüfen.</translation>
    </message>
</context>
<context>
    <name>MailWatch</name>
    <message>
        <source>Please click here to enter the %1 default e-mail account password.</source>
        <translation>Bitte klicken Sie hier, um das Passwort des Standard-E-Mail-Kontos für %1 einzugeben.</translation>
    </message>
</context>
<context>
    <name>MainToolbar</name>
    <message>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>Show &amp;Reminder</source>
        <translation>E&amp;rinnerung anzeigen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>E&amp;infügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles aus&amp;wählen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Web Site</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>Plumora Menu</source>
        <translation>Plumora-Menü</translation>
    </message>
</context>
<context>
    <name>MissedMinutes</name>
    <message>
        <source>%1 — while this computer was asleep</source>
        <translation>%1 — während dieser Computer schlief</translation>
    </message>
    <message>
        <source>Not run: %1 at %2</source>
        <translation>Nicht ausgeführt: %1 um %2</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
</context>
<context>
    <name>MonthNavigation</name>
    <message>
        <source>No events.</source>
        <translation>Keine Termine.</translation>
    </message>
    <message>
        <source>Events: %1</source>
        <translation>Termine: %1</translation>
    </message>
</context>
<context>
    <name>NetModule</name>
    <message>
        <source>The network module (%1) could not be loaded.</source>
        <translation>Das Netzwerkmodul (%1) konnte nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>NoteCard</name>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Note of %1</source>
        <translation>Notiz vom %1</translation>
    </message>
    <message>
        <source>Alt+arrow keys move the note, Alt+Shift+arrow keys resize it</source>
        <translation>Alt+Pfeiltasten verschieben die Notiz, Alt+Umschalt+Pfeiltasten ändern ihre Größe</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>Nach oben blättern</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>Nach unten blättern</translation>
    </message>
    <message>
        <source>Alarm set</source>
        <translation>Alarm gestellt</translation>
    </message>
</context>
<context>
    <name>NoteDueReader</name>
    <message>
        <source>Note alarm</source>
        <translation>Notizalarm</translation>
    </message>
</context>
<context>
    <name>NoteGeometry</name>
    <message>
        <source>MMMM dd, yyyy</source>
        <comment>date format of a note card&apos;s creation date</comment>
        <translation>dd. MMMM yyyy</translation>
    </message>
</context>
<context>
    <name>NoteSearch</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Look for:</source>
        <translation>Suchen nach:</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>No more search result found.</source>
        <translation>Keine weiteren Suchergebnisse gefunden.</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
</context>
<context>
    <name>NoteStore</name>
    <message>
        <source>the note is gone</source>
        <translation>die Notiz existiert nicht mehr</translation>
    </message>
</context>
<context>
    <name>NoteToolbar</name>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Spelling</source>
        <translation>Rechtschreibung</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Are you sure to delete this note?</source>
        <translation>Möchten Sie diese Notiz wirklich löschen?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
</context>
<context>
    <name>NotesPage</name>
    <message>
        <source>Quick Notes</source>
        <translation>Schnellnotizen</translation>
    </message>
    <message>
        <source>The notes were changed elsewhere. Your changes here are kept; Reload shows the notes as stored now and drops what was not saved yet.</source>
        <translation>Die Notizen wurden an anderer Stelle geändert. Ihre Änderungen hier bleiben erhalten; „Neu laden“ zeigt die Notizen so, wie sie jetzt gespeichert sind, und verwirft, was noch nicht gespeichert wurde.</translation>
    </message>
    <message>
        <source>Quick Notes toolbar</source>
        <translation>Werkzeugleiste der Schnellnotizen</translation>
    </message>
    <message>
        <source>Font name</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Opening the note...</source>
        <translation>Die Notiz wird geöffnet...</translation>
    </message>
    <message>
        <source>The notes could not be read from the data file.

%1</source>
        <translation>Die Notizen konnten nicht aus der Datendatei gelesen werden.

%1</translation>
    </message>
    <message>
        <source>The notes</source>
        <translation>Die Notizen</translation>
    </message>
    <message>
        <source>The new note could not be added to the data file.

%1</source>
        <translation>Die neue Notiz konnte nicht zur Datendatei hinzugefügt werden.

%1</translation>
    </message>
    <message>
        <source>The note could not be deleted from the data file.

%1</source>
        <translation>Die Notiz konnte nicht aus der Datendatei gelöscht werden.

%1</translation>
    </message>
    <message>
        <source>The note&apos;s alarm could not be read from the data file.

%1</source>
        <translation>Der Alarm der Notiz konnte nicht aus der Datendatei gelesen werden.

%1</translation>
    </message>
    <message>
        <source>The note&apos;s alarm</source>
        <translation>Der Alarm der Notiz</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>No notes yet. Click New, the first button of the toolbar, or press Ctrl+N to add a note.</source>
        <translation>Noch keine Notizen. Klicken Sie auf „Neu“, die erste Schaltfläche der Werkzeugleiste, oder drücken Sie Strg+N, um eine Notiz hinzuzufügen.</translation>
    </message>
</context>
<context>
    <name>NotesTool</name>
    <message>
        <source>Quick Notes</source>
        <translation>Schnellnotizen</translation>
    </message>
    <message>
        <source>Quick &amp;Notes</source>
        <translation>Schnell&amp;notizen</translation>
    </message>
    <message>
        <source>Quick Notes could not be opened.</source>
        <translation>Die Schnellnotizen konnten nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The new note could not be added to the data file.</source>
        <translation>Die neue Notiz konnte nicht zur Datendatei hinzugefügt werden.</translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message>
        <source>No events today.</source>
        <translation>Heute keine Termine.</translation>
    </message>
    <message>
        <source>No events in the coming day.</source>
        <translation>Keine Termine am kommenden Tag.</translation>
    </message>
    <message>
        <source>No events in the coming %1 days.</source>
        <translation>Keine Termine in den kommenden %1 Tagen.</translation>
    </message>
</context>
<context>
    <name>OAuthSasl</name>
    <message>
        <source>the access token is empty</source>
        <translation>das Zugriffstoken ist leer</translation>
    </message>
    <message>
        <source>the access token is larger than %1 KB</source>
        <translation>das Zugriffstoken ist größer als %1 KB</translation>
    </message>
    <message>
        <source>the access token holds characters a token cannot hold</source>
        <translation>das Zugriffstoken enthält Zeichen, die ein Token nicht enthalten kann</translation>
    </message>
    <message>
        <source>the user name holds a line break or a NUL</source>
        <translation>der Benutzername enthält einen Zeilenumbruch oder ein NUL</translation>
    </message>
    <message>
        <source>the server name holds a line break or a NUL</source>
        <translation>der Servername enthält einen Zeilenumbruch oder ein NUL</translation>
    </message>
</context>
<context>
    <name>OnlineMailSignIn</name>
    <message>
        <source>the chosen account was removed from GNOME Online Accounts or its mail was switched off; choose an account in Options</source>
        <translation>das gewählte Konto wurde aus GNOME Online-Konten entfernt oder seine E-Mail-Funktion abgeschaltet; wählen Sie ein Konto in den Einstellungen</translation>
    </message>
    <message>
        <source>the server or user name from GNOME Online Accounts holds a line break or NUL</source>
        <translation>der Server oder Benutzername aus GNOME Online-Konten enthält einen Zeilenumbruch oder NUL</translation>
    </message>
    <message>
        <source>no account of GNOME Online Accounts is chosen</source>
        <translation>es ist kein Konto aus GNOME Online-Konten gewählt</translation>
    </message>
    <message>
        <source>GNOME Online Accounts is not available</source>
        <translation>GNOME Online-Konten ist nicht verfügbar</translation>
    </message>
    <message>
        <source>GNOME Online Accounts did not list its accounts</source>
        <translation>GNOME Online-Konten hat seine Konten nicht aufgelistet</translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave no %1 (%2)</source>
        <translation>GNOME Online-Konten hat kein %1 geliefert (%2)</translation>
    </message>
    <message>
        <source>access token</source>
        <translation>Zugriffstoken</translation>
    </message>
    <message>
        <source>password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave an empty %1</source>
        <translation>GNOME Online-Konten hat ein leeres %1 geliefert</translation>
    </message>
    <message>
        <source>GNOME Online Accounts could not renew the sign-in (%1); sign in again in the desktop&apos;s Settings</source>
        <translation>GNOME Online-Konten konnte die Anmeldung nicht erneuern (%1); melden Sie sich in den Einstellungen des Desktops erneut an</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Events Option</source>
        <translation>Termineinstellungen</translation>
    </message>
    <message>
        <source>Show reminder, day(s) ahead for Calendar events</source>
        <translation>Erinnerung anzeigen, Tag(e) vor Kalenderterminen</translation>
    </message>
    <message>
        <source>Show reminder</source>
        <translation>Erinnerung anzeigen</translation>
    </message>
    <message>
        <source>day(s) ahead for Calendar events</source>
        <translation>Tag(e) vor Kalenderterminen</translation>
    </message>
    <message>
        <source>Reminder popup every, minutes</source>
        <translation>Erinnerung einblenden alle, Minuten</translation>
    </message>
    <message>
        <source>Reminder popup every</source>
        <translation>Erinnerung einblenden alle</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Reminder sound:</source>
        <translation>Erinnerungston:</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Play the reminder sound</source>
        <translation>Erinnerungston abspielen</translation>
    </message>
    <message>
        <source>Display small icons in Calendar</source>
        <translation>Kleine Symbole im Kalender anzeigen</translation>
    </message>
    <message>
        <source>Add international holidays / events to Calendar</source>
        <translation>Internationale Feiertage / Termine zum Kalender hinzufügen</translation>
    </message>
    <message>
        <source>Include USA holidays / events</source>
        <translation>Feiertage / Termine der USA einbeziehen</translation>
    </message>
    <message>
        <source>Include Canada holidays / events</source>
        <translation>Feiertage / Termine Kanadas einbeziehen</translation>
    </message>
    <message>
        <source>Backup Data</source>
        <translation>Datensicherung</translation>
    </message>
    <message>
        <source>Backup data to ...</source>
        <translation>Daten sichern nach ...</translation>
    </message>
    <message>
        <source>Restore data from ...</source>
        <translation>Daten wiederherstellen aus ...</translation>
    </message>
    <message>
        <source>Start Plumora when I log in</source>
        <translation>Plumora bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Data file</source>
        <translation>Datendatei</translation>
    </message>
    <message>
        <source>The login start of Plumora could not be changed: %1 cannot be written.</source>
        <translation>Der Start von Plumora bei der Anmeldung konnte nicht geändert werden: %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Options changed elsewhere</source>
        <translation>Einstellungen anderswo geändert</translation>
    </message>
    <message>
        <source>These options were changed elsewhere. Reload shows the new values and drops what you typed here.</source>
        <translation>Diese Einstellungen wurden anderswo geändert. „Neu laden“ zeigt die neuen Werte und verwirft, was Sie hier eingegeben haben.</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Reload the options</source>
        <translation>Einstellungen neu laden</translation>
    </message>
    <message>
        <source>Data file: %1</source>
        <translation>Datendatei: %1</translation>
    </message>
    <message>
        <source>Reminder sound: %1</source>
        <translation>Erinnerungston: %1</translation>
    </message>
    <message>
        <source>The options</source>
        <translation>Die Einstellungen</translation>
    </message>
    <message>
        <source>Please select a sounds file:</source>
        <translation>Bitte wählen Sie eine Klangdatei:</translation>
    </message>
    <message>
        <source>Sounds (*.wav)</source>
        <translation>Klänge (*.wav)</translation>
    </message>
    <message>
        <source>The sound file &apos;%1&apos; could not be used: %2. The reminder keeps its sound.</source>
        <translation>Die Klangdatei „%1“ konnte nicht verwendet werden: %2. Die Erinnerung behält ihren Ton.</translation>
    </message>
</context>
<context>
    <name>OptionsDescriptor</name>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>E&amp;instellungen</translation>
    </message>
</context>
<context>
    <name>OptionsGroup</name>
    <message>
        <source>Stored in Plumora&apos;s data file (no keyring found)</source>
        <translation>In der Datendatei von Plumora gespeichert (kein Schlüsselbund gefunden)</translation>
    </message>
    <message>
        <source>Stored in the desktop&apos;s keyring</source>
        <translation>Im Schlüsselbund des Desktops gespeichert</translation>
    </message>
</context>
<context>
    <name>PortalShortcuts</name>
    <message>
        <source>The desktop refused the global shortcuts (%1).</source>
        <translation>Die Arbeitsumgebung hat die globalen Tastenkürzel abgelehnt (%1).</translation>
    </message>
    <message>
        <source>The shortcuts were not confirmed in the desktop&apos;s dialog.</source>
        <translation>Die Tastenkürzel wurden im Dialog der Arbeitsumgebung nicht bestätigt.</translation>
    </message>
    <message>
        <source>The desktop refused the global shortcuts.</source>
        <translation>Die Arbeitsumgebung hat die globalen Tastenkürzel abgelehnt.</translation>
    </message>
    <message>
        <source>The desktop ended the global shortcuts. Choose the keys again to bind them.</source>
        <translation>Die Arbeitsumgebung hat die globalen Tastenkürzel beendet. Wählen Sie die Tasten erneut, um sie zu belegen.</translation>
    </message>
    <message>
        <source>The shortcut was not confirmed in the desktop&apos;s dialog.</source>
        <translation>Das Tastenkürzel wurde im Dialog der Arbeitsumgebung nicht bestätigt.</translation>
    </message>
</context>
<context>
    <name>PrintModule</name>
    <message>
        <source>%1 cannot be used.</source>
        <translation>%1 kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>The picture could not be sent to %1.</source>
        <translation>Das Bild konnte nicht an %1 gesendet werden.</translation>
    </message>
    <message>
        <source>Screen Capture</source>
        <translation>Bildschirmfoto</translation>
    </message>
</context>
<context>
    <name>QtDialogs</name>
    <message>
        <source>Quit anyway</source>
        <translation>Trotzdem beenden</translation>
    </message>
    <message>
        <source>Stay</source>
        <translation>Bleiben</translation>
    </message>
    <message>
        <source>Please select a folder:</source>
        <translation>Bitte wählen Sie einen Ordner:</translation>
    </message>
</context>
<context>
    <name>QtPictureOutput</name>
    <message>
        <source>Printing is not installed with this copy of Plumora.</source>
        <translation>Drucken ist bei dieser Plumora-Installation nicht enthalten.</translation>
    </message>
</context>
<context>
    <name>QuickAccessDescriptor</name>
    <message>
        <source>Quick Access</source>
        <translation>Schnellzugriff</translation>
    </message>
    <message>
        <source>Quick &amp;Access</source>
        <translation>Schnell&amp;zugriff</translation>
    </message>
</context>
<context>
    <name>QuickAccessPage</name>
    <message>
        <source>Folder not found! </source>
        <translation>Ordner nicht gefunden! </translation>
    </message>
    <message>
        <source>Quick Access</source>
        <translation>Schnellzugriff</translation>
    </message>
    <message>
        <source>Frequently used folders</source>
        <translation>Häufig verwendete Ordner</translation>
    </message>
    <message>
        <source>Double-click a folder or press Enter to open it</source>
        <translation>Doppelklicken Sie auf einen Ordner oder drücken Sie die Eingabetaste, um ihn zu öffnen</translation>
    </message>
    <message>
        <source>Frequently Used Folder</source>
        <translation>Häufig verwendeter Ordner</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Folders you open on two different days appear here.</source>
        <translation>Ordner, die Sie an zwei verschiedenen Tagen öffnen, erscheinen hier.</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Compose New E-mail</source>
        <translation>Neue E-Mail verfassen</translation>
    </message>
    <message>
        <source>Command Prompt..</source>
        <translation>Terminal..</translation>
    </message>
    <message>
        <source>Computer Management</source>
        <translation>Computerverwaltung</translation>
    </message>
    <message>
        <source>System Information</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>Write a new message in your mail program</source>
        <translation>Eine neue Nachricht in Ihrem E-Mail-Programm schreiben</translation>
    </message>
    <message>
        <source>Open a terminal in a folder you choose</source>
        <translation>Ein Terminal in einem Ordner Ihrer Wahl öffnen</translation>
    </message>
    <message>
        <source>Open your desktop&apos;s settings</source>
        <translation>Die Einstellungen Ihres Desktops öffnen</translation>
    </message>
    <message>
        <source>Open a tool that describes this computer</source>
        <translation>Ein Werkzeug öffnen, das diesen Computer beschreibt</translation>
    </message>
    <message>
        <source>CD drive</source>
        <translation>CD-Laufwerk</translation>
    </message>
    <message>
        <source>Eject</source>
        <translation>Auswerfen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>AutoPlay</source>
        <translation>Autostart</translation>
    </message>
    <message>
        <source>Explore</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open the tray of the selected CD drive</source>
        <translation>Die Schublade des gewählten CD-Laufwerks öffnen</translation>
    </message>
    <message>
        <source>Close the tray of the selected CD drive</source>
        <translation>Die Schublade des gewählten CD-Laufwerks schließen</translation>
    </message>
    <message>
        <source>Start the program of the disc in the selected drive</source>
        <translation>Das Programm des Datenträgers im gewählten Laufwerk starten</translation>
    </message>
    <message>
        <source>Open the disc of the selected drive in the file manager</source>
        <translation>Den Datenträger des gewählten Laufwerks in der Dateiverwaltung öffnen</translation>
    </message>
    <message>
        <source>The list of folders could not be read.</source>
        <translation>Die Ordnerliste konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>No file manager could be started to open %1.</source>
        <translation>Es konnte keine Dateiverwaltung gestartet werden, um %1 zu öffnen.</translation>
    </message>
    <message>
        <source>No mail program could be started to write a new message.</source>
        <translation>Es konnte kein E-Mail-Programm gestartet werden, um eine neue Nachricht zu schreiben.</translation>
    </message>
    <message>
        <source>The tray of %1 could not be opened.</source>
        <translation>Die Schublade von %1 konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The tray of %1 could not be closed.</source>
        <translation>Die Schublade von %1 konnte nicht geschlossen werden.</translation>
    </message>
    <message>
        <source>The program for this command is not installed.</source>
        <translation>Das Programm für diesen Befehl ist nicht installiert.</translation>
    </message>
    <message>
        <source>%1 could not be started.</source>
        <translation>%1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Are you sure to clear the list?</source>
        <translation>Möchten Sie die Liste wirklich leeren?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>The cleared list</source>
        <translation>Die geleerte Liste</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>größer als %1 Byte</translation>
    </message>
</context>
<context>
    <name>ReloadBar</name>
    <message>
        <source>Changed elsewhere</source>
        <translation>Anderswo geändert</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>Ne&amp;u laden</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
</context>
<context>
    <name>Reminder</name>
    <message>
        <source>Event picture</source>
        <translation>Terminbild</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Next event</source>
        <translation>Nächster Termin</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Previous event</source>
        <translation>Vorheriger Termin</translation>
    </message>
</context>
<context>
    <name>ReminderJob</name>
    <message>
        <source>Reminder: %1</source>
        <translation>Erinnerung: %1</translation>
    </message>
</context>
<context>
    <name>ReminderRules</name>
    <message>
        <source>Today&apos;s event.</source>
        <translation>Heutiger Termin.</translation>
    </message>
    <message>
        <source>%1 day(s) from now.</source>
        <translation>In %1 Tag(en).</translation>
    </message>
</context>
<context>
    <name>RemoteCommand</name>
    <message>
        <source>There is no tool &quot;%1&quot; to show. The tools are: %2.</source>
        <translation>Es gibt kein Werkzeug „%1“ zum Anzeigen. Die Werkzeuge sind: %2.</translation>
    </message>
    <message>
        <source>The text for the new note is longer than %1 KB; no note was made.</source>
        <translation>Der Text für die neue Notiz ist länger als %1 KB; es wurde keine Notiz angelegt.</translation>
    </message>
</context>
<context>
    <name>RestoreRebuild</name>
    <message>
        <source>it is not a Plumora data file</source>
        <translation>sie ist keine Plumora-Datendatei</translation>
    </message>
    <message>
        <source>reading it took longer than %1 seconds</source>
        <translation>das Lesen dauerte länger als %1 Sekunden</translation>
    </message>
    <message>
        <source>it was made by a newer version of Plumora (data version %1; this version reads up to %2)</source>
        <translation>sie wurde von einer neueren Version von Plumora erstellt (Datenversion %1; diese Version liest bis %2)</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>sie ist größer als %1 MB</translation>
    </message>
    <message>
        <source>table %1 cannot be read: %2</source>
        <translation>Tabelle %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 rows of %2 that are not valid</source>
        <translation>%1 ungültige Zeilen von %2</translation>
    </message>
    <message>
        <source>its settings row cannot be read</source>
        <translation>ihre Einstellungszeile kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>SaveFailures</name>
    <message>
        <source>%1 could not be saved to %2:
%3</source>
        <translation>%1 – das Speichern in %2 ist fehlgeschlagen:
%3</translation>
    </message>
    <message>
        <source>%1

If Plumora quits now, what was not saved is lost. Stay, and it remains in its window while you make room or fix the folder.</source>
        <translation>%1

Wenn Plumora jetzt beendet wird, geht verloren, was nicht gespeichert wurde. Bleiben Sie, so bleibt es in seinem Fenster, während Sie Platz schaffen oder den Ordner in Ordnung bringen.</translation>
    </message>
    <message>
        <source>%1

Plumora keeps trying; your text stays open meanwhile.</source>
        <translation>%1

Plumora versucht es weiter; Ihr Text bleibt so lange geöffnet.</translation>
    </message>
    <message>
        <source>%1 are saved to %2 again.</source>
        <translation>%1 – das Speichern in %2 funktioniert wieder.</translation>
    </message>
</context>
<context>
    <name>Schedule</name>
    <message>
        <source>Marked for deletion</source>
        <translation>Zum Löschen markiert</translation>
    </message>
    <message>
        <source>Power Scheduler</source>
        <translation>Energieplaner</translation>
    </message>
    <message>
        <source>Scheduled actions</source>
        <translation>Geplante Aktionen</translation>
    </message>
    <message>
        <source>Enter changes the entry of the current line or adds one on an empty line; Space or Delete marks the entry for deletion.</source>
        <translation>Die Eingabetaste ändert den Eintrag der aktuellen Zeile oder fügt in einer leeren Zeile einen hinzu; Leertaste oder Entf markiert den Eintrag zum Löschen.</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Date &amp; Time</source>
        <translation>Datum &amp; Uhrzeit</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Häufigkeit</translation>
    </message>
    <message>
        <source>Double-click a line, or press Enter, to add or change an entry. Double-click its X, or press Space, to mark it for deletion: marked entries are deleted when you leave the Power Scheduler.</source>
        <translation>Doppelklicken Sie auf eine Zeile oder drücken Sie die Eingabetaste, um einen Eintrag hinzuzufügen oder zu ändern. Doppelklicken Sie auf sein X oder drücken Sie die Leertaste, um ihn zum Löschen zu markieren: Markierte Einträge werden gelöscht, wenn Sie den Energieplaner verlassen.</translation>
    </message>
    <message>
        <source>The Power Scheduler could not read its entries.

%1</source>
        <translation>Der Energieplaner konnte seine Einträge nicht lesen.

%1</translation>
    </message>
    <message>
        <source>Not marked</source>
        <translation>Nicht markiert</translation>
    </message>
    <message>
        <source>This entry was changed or deleted by another program while you were editing it, so your changes were not saved.

The list now shows the entries as they are.</source>
        <translation>Dieser Eintrag wurde von einem anderen Programm geändert oder gelöscht, während Sie ihn bearbeitet haben; Ihre Änderungen wurden daher nicht gespeichert.

Die Liste zeigt die Einträge jetzt so, wie sie sind.</translation>
    </message>
    <message>
        <source>The entry</source>
        <translation>Der Eintrag</translation>
    </message>
    <message>
        <source>The deletion of the marked entries</source>
        <translation>Das Löschen der markierten Einträge</translation>
    </message>
</context>
<context>
    <name>ScheduleDueReader</name>
    <message>
        <source>start %1</source>
        <translation>%1 starten</translation>
    </message>
    <message>
        <source>hibernate</source>
        <translation>in den Ruhezustand wechseln</translation>
    </message>
    <message>
        <source>shut down</source>
        <translation>herunterfahren</translation>
    </message>
</context>
<context>
    <name>ScheduleEditor</name>
    <message>
        <source>Select a Program</source>
        <translation>Programm auswählen</translation>
    </message>
    <message>
        <source>Program (*)</source>
        <translation>Programm (*)</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Launch Program</source>
        <translation>Programm starten</translation>
    </message>
    <message>
        <source>Shut Down System</source>
        <translation>System herunterfahren</translation>
    </message>
    <message>
        <source>On Hibernation</source>
        <translation>Ruhezustand</translation>
    </message>
    <message>
        <source>Run:</source>
        <translation>Ausführen:</translation>
    </message>
    <message>
        <source>Program to run</source>
        <translation>Auszuführendes Programm</translation>
    </message>
    <message>
        <source>The program&apos;s full path, then its arguments. Put an argument with blanks in double quotes.</source>
        <translation>Der vollständige Pfad des Programms, danach seine Argumente. Setzen Sie ein Argument mit Leerzeichen in doppelte Anführungszeichen.</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Choose the program</source>
        <translation>Programm auswählen</translation>
    </message>
    <message>
        <source>Events/Notes Reminder</source>
        <translation>Erinnerung an Termine/Notizen</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Ab:</translation>
    </message>
    <message>
        <source>From date</source>
        <translation>Ab Datum</translation>
    </message>
    <message>
        <source>From time</source>
        <translation>Ab Uhrzeit</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>This is a one-time schedule</source>
        <translation>Dies ist ein einmaliger Zeitplan</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Häufigkeit</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>- Edit Schedule -</source>
        <translation>- Zeitplan bearbeiten -</translation>
    </message>
</context>
<context>
    <name>ScheduleEditorState</name>
    <message>
        <source>%1 is not a file, so it cannot be started.</source>
        <translation>%1 ist keine Datei und kann daher nicht gestartet werden.</translation>
    </message>
    <message>
        <source>%1 cannot be started: it is not marked as a program (executable). Choose a program, or make the file executable in its properties first.</source>
        <translation>%1 kann nicht gestartet werden: Die Datei ist nicht als Programm (ausführbar) gekennzeichnet. Wählen Sie ein Programm oder machen Sie die Datei zuerst in ihren Eigenschaften ausführbar.</translation>
    </message>
</context>
<context>
    <name>ScheduleRowText</name>
    <message>
        <source>Launch Program</source>
        <translation>Programm starten</translation>
    </message>
    <message>
        <source>Shut Down System</source>
        <translation>System herunterfahren</translation>
    </message>
    <message>
        <source>On Hibernation</source>
        <translation>Ruhezustand</translation>
    </message>
    <message>
        <source>Shut down the computer and power off.</source>
        <translation>Den Computer herunterfahren und ausschalten.</translation>
    </message>
    <message>
        <source>one time</source>
        <translation>einmalig</translation>
    </message>
    <message>
        <source>daily</source>
        <translation>täglich</translation>
    </message>
    <message>
        <source>weekly</source>
        <translation>wöchentlich</translation>
    </message>
    <message>
        <source>monthly</source>
        <translation>monatlich</translation>
    </message>
    <message>
        <source>yearly</source>
        <translation>jährlich</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
</context>
<context>
    <name>ScheduleStore</name>
    <message>
        <source>the entry has no date and time</source>
        <translation>der Eintrag hat kein Datum und keine Uhrzeit</translation>
    </message>
    <message>
        <source>the entry was changed or deleted meanwhile</source>
        <translation>der Eintrag wurde inzwischen geändert oder gelöscht</translation>
    </message>
</context>
<context>
    <name>ScheduleTool</name>
    <message>
        <source>Power Scheduler</source>
        <translation>Energieplaner</translation>
    </message>
    <message>
        <source>Power &amp;Scheduler</source>
        <translation>Energie&amp;planer</translation>
    </message>
</context>
<context>
    <name>ScheduledCommand</name>
    <message>
        <source>Type the program to run, or choose it with the button beside.</source>
        <translation>Geben Sie das auszuführende Programm ein oder wählen Sie es mit der Schaltfläche daneben aus.</translation>
    </message>
    <message>
        <source>%1 was not found. Give the program by its full path, such as /usr/bin/program.</source>
        <translation>%1 wurde nicht gefunden. Geben Sie das Programm mit seinem vollständigen Pfad an, etwa /usr/bin/programm.</translation>
    </message>
    <message>
        <source>Give the program by its full path: %1 rather than %2.</source>
        <translation>Geben Sie das Programm mit seinem vollständigen Pfad an: %1 statt %2.</translation>
    </message>
    <message>
        <source>%1 is not a file, so it cannot be started.</source>
        <translation>%1 ist keine Datei und kann daher nicht gestartet werden.</translation>
    </message>
    <message>
        <source>%1 cannot be started: it is not marked as a program (executable).</source>
        <translation>%1 kann nicht gestartet werden: Die Datei ist nicht als Programm (ausführbar) gekennzeichnet.</translation>
    </message>
</context>
<context>
    <name>SchemaCleanup</name>
    <message>
        <source>Plumora&apos;s data file held SQL that Plumora did not put there. It has been removed, so it cannot act on your data:
- %1

The file as it was is kept as %2.</source>
        <translation>Die Datendatei von Plumora enthielt SQL, das nicht von Plumora stammt. Es wurde entfernt, damit es nicht auf Ihre Daten einwirken kann:
- %1

Die Datei im vorherigen Zustand wird als %2 aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>ScreenCapture</name>
    <message>
        <source>Screen Capture</source>
        <translation>Bildschirmfoto</translation>
    </message>
    <message>
        <source> New Capture</source>
        <translation> Neue Aufnahme</translation>
    </message>
    <message>
        <source> Full screen</source>
        <translation> Vollbild</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>In die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Print image</source>
        <translation>Bild drucken</translation>
    </message>
    <message>
        <source>Delete image</source>
        <translation>Bild löschen</translation>
    </message>
    <message>
        <source>Captured pictures</source>
        <translation>Aufgenommene Bilder</translation>
    </message>
    <message>
        <source>F2 renames, Return shows full screen, Delete deletes</source>
        <translation>F2 benennt um, die Eingabetaste zeigt das Bild im Vollbild, Entf löscht</translation>
    </message>
    <message>
        <source>(Drag on the image to move...)</source>
        <translation>(Ziehen Sie am Bild, um es zu verschieben...)</translation>
    </message>
    <message>
        <source>The screen captures cannot be read: %1</source>
        <translation>Die Bildschirmfotos können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The description</source>
        <translation>Die Beschreibung</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Plumora could not take a picture of the screen.</source>
        <translation>Plumora konnte kein Bild des Bildschirms aufnehmen.</translation>
    </message>
    <message>
        <source>The picture</source>
        <translation>Das Bild</translation>
    </message>
    <message>
        <source>The picture was sent to %1.</source>
        <translation>Das Bild wurde an %1 gesendet.</translation>
    </message>
    <message>
        <source>The picture was not printed: %1</source>
        <translation>Das Bild wurde nicht gedruckt: %1</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>The deletion of the picture</source>
        <translation>Das Löschen des Bildes</translation>
    </message>
</context>
<context>
    <name>ScreenPortal</name>
    <message>
        <source>the screenshot portal did not answer</source>
        <translation>das Bildschirmfoto-Portal hat nicht geantwortet</translation>
    </message>
    <message>
        <source>no session bus: %1</source>
        <translation>kein Sitzungsbus: %1</translation>
    </message>
    <message>
        <source>the screenshot portal refused: %1</source>
        <translation>das Bildschirmfoto-Portal hat abgelehnt: %1</translation>
    </message>
    <message>
        <source>the screenshot was cancelled</source>
        <translation>das Bildschirmfoto wurde abgebrochen</translation>
    </message>
    <message>
        <source>the desktop refused the screenshot</source>
        <translation>die Arbeitsumgebung hat das Bildschirmfoto abgelehnt</translation>
    </message>
    <message>
        <source>the screenshot portal named no picture file</source>
        <translation>das Bildschirmfoto-Portal hat keine Bilddatei genannt</translation>
    </message>
    <message>
        <source>the picture %1 cannot be read</source>
        <translation>das Bild %1 kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>SettingsCheck</name>
    <message>
        <source>Plumora&apos;s data file is read-only:
%1

Plumora shows what it holds but saves no change to it. To save changes again, make the file writable and start Plumora again.</source>
        <translation>Die Datendatei von Plumora ist schreibgeschützt:
%1

Plumora zeigt ihren Inhalt an, speichert aber keine Änderungen darin. Um wieder Änderungen zu speichern, machen Sie die Datei beschreibbar und starten Sie Plumora neu.</translation>
    </message>
    <message>
        <source>Plumora cannot read its data file:
%1
(%2)

The file has been left exactly as it is. Until it can be read, your calendar, notes and settings are not shown, and changes cannot be saved.

Two ways back:
- put a good copy of your data file beside it under the name temp.plm and start Plumora again; it takes the damaged file&apos;s place and the damaged file is kept as data.plm.damaged;
- or restore a backup: Options, Restore.</source>
        <translation>Plumora kann seine Datendatei nicht lesen:
%1
(%2)

Die Datei wurde genau so belassen, wie sie ist. Bis sie gelesen werden kann, werden Ihr Kalender, Ihre Notizen und Einstellungen nicht angezeigt, und Änderungen können nicht gespeichert werden.

Zwei Wege zurück:
- legen Sie eine gute Kopie Ihrer Datendatei unter dem Namen temp.plm daneben und starten Sie Plumora neu; sie tritt an die Stelle der beschädigten Datei, und die beschädigte Datei wird als data.plm.damaged aufbewahrt;
- oder stellen Sie eine Sicherung wieder her: Einstellungen, Daten wiederherstellen.</translation>
    </message>
    <message>
        <source>the file is missing and could not be made from the template %1</source>
        <translation>die Datei fehlt und konnte nicht aus der Vorlage %1 erstellt werden</translation>
    </message>
    <message>
        <source>an unfinished change in %1 cannot be undone because the folder is read-only</source>
        <translation>eine unvollendete Änderung in %1 kann nicht rückgängig gemacht werden, weil der Ordner schreibgeschützt ist</translation>
    </message>
    <message>
        <source>it is damaged or not a Plumora data file</source>
        <translation>sie ist beschädigt oder keine Plumora-Datendatei</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings row could not be read.</source>
        <translation>Die Einstellungszeile konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The settings could not be written.</source>
        <translation>Die Einstellungen konnten nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>Shortcuts</name>
    <message>
        <source>Capture an area</source>
        <translation>Einen Bereich aufnehmen</translation>
    </message>
    <message>
        <source>New note</source>
        <translation>Neue Notiz</translation>
    </message>
    <message>
        <source>Show the calendar</source>
        <translation>Den Kalender zeigen</translation>
    </message>
    <message>
        <source>Another program took the key %1, so &quot;%2&quot; no longer works from the keyboard. Choose a key for it in Options.</source>
        <translation>Ein anderes Programm hat die Taste %1 übernommen, daher funktioniert „%2“ nicht mehr über die Tastatur. Wählen Sie dafür eine Taste in den Einstellungen.</translation>
    </message>
    <message>
        <source>The desktop holds this shortcut; its key is set in the desktop&apos;s keyboard settings.</source>
        <translation>Die Arbeitsumgebung verwaltet dieses Tastenkürzel; seine Taste wird in den Tastatureinstellungen der Arbeitsumgebung festgelegt.</translation>
    </message>
    <message>
        <source>The desktop runs it on %1.</source>
        <translation>Die Arbeitsumgebung führt es bei %1 aus.</translation>
    </message>
    <message>
        <source>%1 is already used by another program</source>
        <translation>%1 wird bereits von einem anderen Programm verwendet</translation>
    </message>
    <message>
        <source>%1 cannot be used here</source>
        <translation>%1 kann hier nicht verwendet werden</translation>
    </message>
    <message>
        <source>Waiting for the desktop to confirm %1…</source>
        <translation>Warten auf die Bestätigung von %1 durch die Arbeitsumgebung…</translation>
    </message>
    <message>
        <source>The desktop refused %1.</source>
        <translation>Die Arbeitsumgebung hat %1 abgelehnt.</translation>
    </message>
</context>
<context>
    <name>ShutDownCommand</name>
    <message>
        <source>Usage: ShutDown 1|0
  1  shut down the computer and power off
  0  hibernate
</source>
        <translation>Aufruf: ShutDown 1|0
  1  den Computer herunterfahren und ausschalten
  0  in den Ruhezustand versetzen
</translation>
    </message>
    <message>
        <source>power off</source>
        <translation>auszuschalten</translation>
    </message>
    <message>
        <source>hibernate</source>
        <translation>in den Ruhezustand zu versetzen</translation>
    </message>
    <message>
        <source>ShutDown: the request to %1 was refused: %2</source>
        <translation>ShutDown: die Anfrage, den Computer %1, wurde abgelehnt: %2</translation>
    </message>
    <message>
        <source>ShutDown: could not ask systemd-logind to %1: %2</source>
        <translation>ShutDown: systemd-logind konnte nicht gebeten werden, den Computer %1: %2</translation>
    </message>
</context>
<context>
    <name>SoundChoice</name>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>sie kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>it is not a sound that can be played (a WAVE file of PCM sound is needed)</source>
        <translation>sie ist kein abspielbarer Klang (eine WAVE-Datei mit PCM-Ton wird benötigt)</translation>
    </message>
    <message>
        <source>it cannot be copied into the program folder (%1)</source>
        <translation>sie kann nicht in den Programmordner kopiert werden (%1)</translation>
    </message>
</context>
<context>
    <name>SpellAsYouType</name>
    <message>
        <source>(no suggestions)</source>
        <translation>(keine Vorschläge)</translation>
    </message>
    <message>
        <source>Ignore All</source>
        <translation>Alle ignorieren</translation>
    </message>
    <message>
        <source>Add to Dictionary</source>
        <translation>Zum Wörterbuch hinzufügen</translation>
    </message>
</context>
<context>
    <name>SpellCheckDialog</name>
    <message>
        <source>Spell check is complete.</source>
        <translation>Die Rechtschreibprüfung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>Spell checking is off: no US English dictionary is installed.</source>
        <translation>Die Rechtschreibprüfung ist aus: Es ist kein US-englisches Wörterbuch installiert.</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Change All</source>
        <translation>Alle ändern</translation>
    </message>
    <message>
        <source>Spelling</source>
        <translation>Rechtschreibung</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorieren</translation>
    </message>
    <message>
        <source>Ignore All</source>
        <translation>Alle ignorieren</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Not in dictionary:</source>
        <translation>Nicht im Wörterbuch:</translation>
    </message>
    <message>
        <source>Change to:</source>
        <translation>Ändern in:</translation>
    </message>
    <message>
        <source>Suggestions:</source>
        <translation>Vorschläge:</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
</context>
<context>
    <name>SubscribeDialog</name>
    <message>
        <source>hourly</source>
        <translation>stündlich</translation>
    </message>
    <message>
        <source>weekly</source>
        <translation>wöchentlich</translation>
    </message>
    <message>
        <source>daily</source>
        <translation>täglich</translation>
    </message>
    <message>
        <source>Calendar subscriptions</source>
        <translation>Kalenderabonnements</translation>
    </message>
    <message>
        <source>Calendars you follow</source>
        <translation>Abonnierte Kalender</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Subscribe to a calendar</source>
        <translation>Kalender abonnieren</translation>
    </message>
    <message>
        <source>https://... or webcal://...</source>
        <translation>https://... oder webcal://...</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Hourly</source>
        <translation>Stündlich</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>&amp;Subscribe</source>
        <translation>A&amp;bonnieren</translation>
    </message>
    <message>
        <source>Subscription status</source>
        <translation>Abonnementstatus</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Re&amp;fresh:</source>
        <translation>A&amp;ktualisierung:</translation>
    </message>
    <message>
        <source>%1: last refresh failed (%2, %3)</source>
        <translation>%1: letzte Aktualisierung fehlgeschlagen (%2, %3)</translation>
    </message>
    <message>
        <source>%1 (%2, %3)</source>
        <translation>%1 (%2, %3)</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Please give the calendar&apos;s address, beginning with https:// or webcal://.</source>
        <translation>Bitte geben Sie die Adresse des Kalenders an, beginnend mit https:// oder webcal://.</translation>
    </message>
    <message>
        <source>Please give the calendar a name.</source>
        <translation>Bitte geben Sie dem Kalender einen Namen.</translation>
    </message>
    <message>
        <source>The subscription</source>
        <translation>Das Abonnement</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not added: %2</source>
        <translation>„%1“ wurde nicht hinzugefügt: %2</translation>
    </message>
    <message>
        <source>Fetching the calendar...</source>
        <translation>Der Kalender wird abgerufen...</translation>
    </message>
    <message>
        <source>Stop following &quot;%1&quot; and remove its events from the calendar?</source>
        <translation>„%1“ nicht mehr abonnieren und seine Termine aus dem Kalender entfernen?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>The subscription could not be removed.

%1</source>
        <translation>Das Abonnement konnte nicht entfernt werden.

%1</translation>
    </message>
</context>
<context>
    <name>SubscriptionRefresh</name>
    <message>
        <source>the address is not an https:// or webcal:// address</source>
        <translation>die Adresse ist keine https://- oder webcal://-Adresse</translation>
    </message>
    <message>
        <source>the calendar is larger than 20 MB</source>
        <translation>der Kalender ist größer als 20 MB</translation>
    </message>
    <message>
        <source>it could not be saved: %1</source>
        <translation>es konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The calendar &quot;%1&quot; could not be refreshed, so its events stay as they were. Plumora will try again later.

%2</source>
        <translation>Der Kalender „%1“ konnte nicht aktualisiert werden, seine Termine bleiben daher unverändert. Plumora versucht es später erneut.

%2</translation>
    </message>
    <message>
        <source>The calendar &quot;%1&quot; could not be refreshed. Plumora will try again later.

%2</source>
        <translation>Der Kalender „%1“ konnte nicht aktualisiert werden. Plumora versucht es später erneut.

%2</translation>
    </message>
</context>
<context>
    <name>TrayController</name>
    <message>
        <source>Cannot import %1: %2</source>
        <translation>%1 kann nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>The running copy of Plumora was handed the files to import and imported them.</source>
        <translation>Die laufende Instanz von Plumora hat die zu importierenden Dateien erhalten und importiert.</translation>
    </message>
    <message>
        <source>The running copy of Plumora was handed the files to import but did not say whether it imported them.</source>
        <translation>Die laufende Instanz von Plumora hat die zu importierenden Dateien erhalten, aber nicht mitgeteilt, ob sie sie importiert hat.</translation>
    </message>
    <message>
        <source>The running copy of Plumora could not be reached; nothing was imported.</source>
        <translation>Die laufende Instanz von Plumora war nicht erreichbar; es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>The running copy of Plumora could not be reached; nothing was done.</source>
        <translation>Die laufende Instanz von Plumora war nicht erreichbar; es wurde nichts ausgeführt.</translation>
    </message>
    <message>
        <source>The running copy of Plumora did not answer within %1 seconds.</source>
        <translation>Die laufende Instanz von Plumora hat nicht innerhalb von %1 Sekunden geantwortet.</translation>
    </message>
    <message>
        <source>Plumora could not read the request.</source>
        <translation>Plumora konnte die Anfrage nicht lesen.</translation>
    </message>
    <message>
        <source>Plumora takes no actions here.</source>
        <translation>Plumora nimmt hier keine Aktionen an.</translation>
    </message>
    <message>
        <source>Plumora is already running for %1 (lock %2); it was asked to show its window.</source>
        <translation>Plumora läuft bereits für %1 (Sperre %2); es wurde gebeten, sein Fenster anzuzeigen.</translation>
    </message>
    <message>
        <source>Plumora is already running for %1 (lock %2).</source>
        <translation>Plumora läuft bereits für %1 (Sperre %2).</translation>
    </message>
    <message>
        <source>Plumora cannot import files here.</source>
        <translation>Plumora kann hier keine Dateien importieren.</translation>
    </message>
    <message>
        <source>The notification area that held Plumora&apos;s icon is gone, so the icon cannot be clicked for now.

Your reminders and scheduled tasks keep working in the background. The icon comes back by itself within a minute of a notification area appearing again.</source>
        <translation>Das Benachrichtigungsfeld mit dem Symbol von Plumora ist verschwunden, daher kann das Symbol vorerst nicht angeklickt werden.

Ihre Erinnerungen und geplanten Aktionen arbeiten im Hintergrund weiter. Das Symbol kehrt von selbst zurück, spätestens eine Minute nachdem wieder ein Benachrichtigungsfeld erscheint.</translation>
    </message>
    <message>
        <source>Plumora is running, but this desktop has no notification area for its icon, so you cannot click it yet.

Your reminders and scheduled tasks keep working in the background. To reach Plumora&apos;s menu, turn on a notification area (on GNOME, the &quot;AppIndicator and KStatusNotifierItem Support&quot; extension); the icon appears there by itself within a minute.</source>
        <translation>Plumora läuft, aber dieser Desktop hat kein Benachrichtigungsfeld für sein Symbol, daher können Sie es noch nicht anklicken.

Ihre Erinnerungen und geplanten Aktionen arbeiten im Hintergrund weiter. Um das Menü von Plumora zu erreichen, schalten Sie ein Benachrichtigungsfeld ein (unter GNOME die Erweiterung „AppIndicator and KStatusNotifierItem Support“); das Symbol erscheint dort von selbst innerhalb einer Minute.</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Show Reminder</source>
        <translation>Erinnerung anzeigen</translation>
    </message>
    <message>
        <source>Unload Plumora</source>
        <translation>Plumora beenden</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Web</source>
        <translation>Web</translation>
    </message>
</context>
<context>
    <name>UnloadCheck</name>
    <message>
        <source>%1

Close the window anyway? What was not saved is then lost. Choose No to keep it open while you make room or fix the folder.</source>
        <translation>%1

Das Fenster trotzdem schließen? Was nicht gespeichert wurde, geht dann verloren. Wählen Sie „Nein“, um es geöffnet zu lassen, während Sie Platz schaffen oder den Ordner in Ordnung bringen.</translation>
    </message>
</context>
<context>
    <name>WallpaperBitmap</name>
    <message>
        <source>no picture to save</source>
        <translation>kein Bild zum Speichern</translation>
    </message>
</context>
<context>
    <name>WallpaperChange</name>
    <message>
        <source>%1 did not take the wallpaper within %2 seconds</source>
        <translation>%1 hat das Hintergrundbild nicht innerhalb von %2 Sekunden übernommen</translation>
    </message>
</context>
<context>
    <name>WallpaperChanger</name>
    <message>
        <source>Wallpaper Changer</source>
        <translation>Hintergrundbildwechsler</translation>
    </message>
    <message>
        <source>The list of images was changed elsewhere. Your additions and removals here are kept; Reload shows the list as stored now and drops them.</source>
        <translation>Die Bilderliste wurde an anderer Stelle geändert. Was Sie hier hinzugefügt und entfernt haben, bleibt erhalten; „Neu laden“ zeigt die Liste so, wie sie jetzt gespeichert ist, und verwirft diese Änderungen.</translation>
    </message>
    <message>
        <source>Images in the rotation</source>
        <translation>Bilder im Wechsel</translation>
    </message>
    <message>
        <source>Picture Preview</source>
        <translation>Bildvorschau</translation>
    </message>
    <message>
        <source>Add images</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Remove image</source>
        <translation>Bild entfernen</translation>
    </message>
    <message>
        <source>Change wallpaper</source>
        <translation>Hintergrundbild wechseln</translation>
    </message>
    <message>
        <source>Every week</source>
        <translation>Jede Woche</translation>
    </message>
    <message>
        <source>Everyday</source>
        <translation>Jeden Tag</translation>
    </message>
    <message>
        <source>Every Startup</source>
        <translation>Bei jedem Start</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Change wallpaper: %1</source>
        <translation>Hintergrundbild wechseln: %1</translation>
    </message>
    <message>
        <source>Stretch Full Screen</source>
        <translation>Auf Vollbild strecken</translation>
    </message>
    <message>
        <source>Change now!</source>
        <translation>Jetzt wechseln!</translation>
    </message>
    <message>
        <source>Download wallpapers...</source>
        <translation>Hintergrundbilder herunterladen...</translation>
    </message>
    <message>
        <source>Opens the web page with wallpapers to download</source>
        <translation>Öffnet die Webseite mit Hintergrundbildern zum Herunterladen</translation>
    </message>
    <message>
        <source>The wallpaper settings could not be read from the data file.</source>
        <translation>Die Einstellungen zum Hintergrundbild konnten nicht aus der Datendatei gelesen werden.</translation>
    </message>
    <message>
        <source>The wallpaper option</source>
        <translation>Die Einstellung zum Wechsel des Hintergrundbilds</translation>
    </message>
    <message>
        <source>The desktop did not take the new picture style: %1</source>
        <translation>Die Arbeitsumgebung hat die neue Bilddarstellung nicht übernommen: %1</translation>
    </message>
    <message>
        <source>The wallpaper could not be changed.

%1</source>
        <translation>Das Hintergrundbild konnte nicht gewechselt werden.

%1</translation>
    </message>
    <message>
        <source>The current wallpaper</source>
        <translation>Das aktuelle Hintergrundbild</translation>
    </message>
    <message>
        <source>Remove this image from the selection list?</source>
        <translation>Dieses Bild aus der Auswahlliste entfernen?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>The wallpaper list</source>
        <translation>Die Liste der Hintergrundbilder</translation>
    </message>
    <message>
        <source>Plumora has no web site yet, so there is no page to download wallpapers from.</source>
        <translation>Plumora hat noch keine Website, daher gibt es keine Seite, von der sich Hintergrundbilder herunterladen lassen.</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1.</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um %1 zu öffnen.</translation>
    </message>
</context>
<context>
    <name>WallpaperFilesDialog</name>
    <message>
        <source>Please select image files:</source>
        <translation>Bitte wählen Sie Bilddateien aus:</translation>
    </message>
    <message>
        <source>Folder:</source>
        <translation>Ordner:</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Image files</source>
        <translation>Bilddateien</translation>
    </message>
    <message>
        <source>Space checks or unchecks a file</source>
        <translation>Die Leertaste wählt eine Datei an oder ab</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alle abwählen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read.</source>
        <translation>Der Ordner %1 kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>WallpaperPreview</name>
    <message>
        <source>Picture Preview</source>
        <translation>Bildvorschau</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>Dieses Bild kann nicht angezeigt werden.</translation>
    </message>
</context>
<context>
    <name>WallpaperTool</name>
    <message>
        <source>Wallpaper Changer</source>
        <translation>Hintergrundbildwechsler</translation>
    </message>
    <message>
        <source>&amp;Wallpaper Changer</source>
        <translation>&amp;Hintergrundbildwechsler</translation>
    </message>
</context>
</TS>
