// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: draws the default icon library "Icons/Default.icl", the pictures the icon
// picker offers for events. Its first icon is the default event icon.
#include "EventArt.h"

#include "calendar/EventIcons.h"
#include "calendar/icons/IconWriter.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        QTextStream(stderr) << "usage: mkdefaulticl OUTPUT\n";
        return 2;
    }
    QList<QImage> pictures{withMaskColour(HolidaysIL::raw(1))};
    for (EventArt::PaintFn paint : EventArt::lifePictures() + EventArt::thingPictures())
        pictures << EventArt::render(paint);

    QList<QList<StoredPicture>> icons;
    for (const QImage& picture : pictures)
        icons.append({IconWriter::picture(picture)});
    const QStringList names =
        QStringList{QStringLiteral("Event")} + EventArt::lifeNames() + EventArt::thingNames();
    if (names.size() != pictures.size()) {
        QTextStream(stderr) << "mkdefaulticl: " << pictures.size() << " pictures but "
                            << names.size() << " names\n";
        return 1;
    }
    const QByteArray library =
        IconWriter::neLibrary(icons, "DEFAULT", "Plumora event icons", names);

    QSaveFile file(QFile::decodeName(argv[1]));
    if (library.isEmpty() || !file.open(QIODevice::WriteOnly) ||
        file.write(library) != library.size() || !file.commit()) {
        QTextStream(stderr) << "mkdefaulticl: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
