#pragma once

class QPrinter;
class QWidget;

namespace palisade {

// Prints the window as it shows, as large as the page allows.
void printWindow(QWidget& window, QPrinter& printer);

// Asks for a printer with the platform's print dialog, then prints.
void printWithDialog(QWidget& window);

} // namespace palisade
