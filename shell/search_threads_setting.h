#pragma once

class QSpinBox;
class QVBoxLayout;
class QWidget;

namespace palisade {

// The processor's cores as the system counts them, at least one.
int processorCores();

// One core is left to the window and the rest of the machine.
int defaultSearchThreads();

// A chosen number of threads brought within 1 .. the cores.
int allowedSearchThreads(int threads);

// The "Search threads" group of the preferences dialog, added to its layout;
// its spin box holds the choice.
QSpinBox* addSearchThreadsGroup(QVBoxLayout& layout, int threads, QWidget* parent);

} // namespace palisade
