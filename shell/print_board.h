#pragma once

#include "render/board_scene.h"

#include <QString>

class QPrinter;
class QWidget;

namespace palisade {

class GameRoom;

// What the game room's side panel reads, from the top down.
struct SidePanelTexts {
    QString winOption;
    QString status;
    bool check = false;
    QString moveNumber;
    QString notation;
};

SidePanelTexts sidePanelTextsOf(const GameRoom& room);

// One page: the board as the picture export draws it, as large as the page
// allows with its shape kept, and under it the side panel's texts. Printers
// get the pieces' outlines, so the page is as sharp as the printer. False
// when the printer (or the PDF file) could not be started.
bool printBoardPosition(QPrinter& printer, const BoardScene& scene, const SidePanelTexts& texts);

// Asks for a printer, or a PDF file, with the print dialog; false when the
// player cancels.
bool choosePrinter(QPrinter& printer, QWidget* parent);

} // namespace palisade
