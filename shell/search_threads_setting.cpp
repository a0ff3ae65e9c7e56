#include "shell/search_threads_setting.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>

namespace palisade {

int processorCores() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

int defaultSearchThreads() { return std::max(1, processorCores() - 1); }

int allowedSearchThreads(int threads) { return std::clamp(threads, 1, processorCores()); }

QSpinBox* addSearchThreadsGroup(QVBoxLayout& layout, int threads, QWidget* parent)
{
    auto* group = new QGroupBox("Search threads", parent);
    group->setObjectName("searchThreadsGroup");
    auto* count = new QSpinBox(group);
    count->setObjectName("searchThreads");
    count->setRange(1, processorCores());
    count->setValue(allowedSearchThreads(threads));
    count->setToolTip("More threads let the computer look further in the same time");
    auto* label = new QLabel(QString("Threads the computer thinks with, for its moves and hints (%1 cores)")
                                 .arg(processorCores()),
                             group);
    label->setBuddy(count);
    auto* row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(count);
    layout.addWidget(group);
    return count;
}

} // namespace palisade
