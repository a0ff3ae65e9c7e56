#pragma once

#include <QLabel>
#include <QSizePolicy>
#include <QString>
#include <QWidget>

namespace palisade {

// A control that comes and goes keeps its place, so nothing around it moves
// under the mouse.
inline void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// A label whose text comes, goes and changes keeps the height of `lines` lines
// of text, empty or full.
inline void reserveLines(QLabel* label, int lines)
{
    const QString text = label->text();
    QStringList sample;
    for (int i = 0; i < lines; ++i) sample << "Mg";
    label->setText(sample.join('\n'));
    label->setFixedHeight(label->sizeHint().height());
    label->setText(text);
}

} // namespace palisade
