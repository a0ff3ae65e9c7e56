#pragma once

#include <QComboBox>
#include <QLabel>

namespace palisade {

// A label that tests and players' tools can find by its control name.
inline QLabel* makeLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// A choice among `items`, found the same way.
inline QComboBox* makeChoice(const QStringList& items, const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->addItems(items);
    box->setObjectName(name);
    return box;
}

} // namespace palisade
