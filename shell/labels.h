#pragma once

#include <QLabel>

namespace palisade {

// A label that tests and players' tools can find by its control name.
inline QLabel* makeLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace palisade
