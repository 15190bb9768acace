#pragma once

#include <QDialog>

class Platform;

// The About box: name, version, the platform line, the maker's name as a link to the
// product web site, and OK. It stands above other windows.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    static const QString MakerName;

    explicit AboutBox(Platform& platform, QWidget* parent = nullptr);

private:
    Platform& m_platform;
};
