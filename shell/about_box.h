#pragma once

#include <QDialog>

namespace palisade {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace palisade
