#include "shell/game_room_window.h"

#include "gameroom/game_file.h"
#include "gameroom/result_text.h"
#include "render/board_view.h"
#include "render/piece_painter.h"
#include "render/pictures.h"
#include "remote/remote_store.h"
#include "shell/analysis_panel.h"
#include "shell/board_export.h"
#include "shell/clock_panel.h"
#include "shell/computer_player.h"
#include "shell/file_box.h"
#include "shell/forms.h"
#include "shell/game_text_actions.h"
#include "shell/game_reviewer.h"
#include "shell/key_click_button.h"
#include "shell/labels.h"
#include "shell/preferences_dialog.h"
#include "shell/print_board.h"
#include "shell/remote_carrier.h"
#include "shell/remote_centre.h"
#include "shell/remote_room.h"
#include "shell/sound_board.h"
#include "shell/steady_layout.h"
#include "shell/theme_preferences.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace palisade {

namespace {

QFont scaledFont(QFont font, double factor, bool bold)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

// The legend's picture of a target mark, as the board draws it.
QLabel* makeMarkPicture(QWidget* parent)
{
    auto* label = makeLabel(QString(), "Picture1", parent);
    label->setPixmap(paintedPicture(QSize(22, 22), parent->devicePixelRatioF(), [](QPainter& painter) {
        paintTargetMark(painter, QRectF(0, 0, 22, 22));
    }));
    return label;
}

// Click cells are measured in twips; a twip is 1/1440 inch.
double twipsPerPixel(const QWidget* widget)
{
    const QScreen* screen = widget->screen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0.0 ? 1440.0 / dpi : CellLayout::kStandardTwipsPerPixel;
}

} // namespace

GameRoomWindow::GameRoomWindow(Forms& forms, QWidget* parent)
    : QMainWindow(parent), forms_(forms), answers_(static_cast<GameRoomView&>(*this)), remoteAnswers_(answers_),
      room_(remoteAnswers_),
      recovery_(forms.recoveryPath().toStdString())
{
    answers_.watch(room_);
    setObjectName("Gameroom");
    setWindowTitle("Game Room");
    setAttribute(Qt::WA_DeleteOnClose);
    sounds_ = new SoundBoard(this);

    board_ = new BoardView(room_, forms_.displayScale(), this);
    const double tpp = twipsPerPixel(this);
    room_.setCellLayout(CellLayout(tpp, tpp));

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(board_, 1);
    layout->addWidget(buildSidePanel(), 0);
    setCentralWidget(central);
    connect(clock_, &ClockPanel::lowTime, sounds_, &SoundBoard::playLowTime);
    // The analysis docked at the side, its evaluation bar beside the board.
    analysis_ = new AnalysisPanel(room_, *board_, *computer_, this);
    layout->insertWidget(0, analysis_->evaluationBar());
    addDockWidget(Qt::RightDockWidgetArea, analysis_);
    remoteStore_ = std::make_unique<remote::RemoteStore>(remoteGamesFolder());
    remoteCentre_ = std::make_unique<RemoteCentre>(*this);
    buildMenu();
    addHistoryKeys();
    gameText_ = std::make_unique<GameTextActions>(
        *this, room_, [this] { return computer_->players(); }, [this](std::string_view text) { message(text); });
    noticeLabel_ = makeLabel(QString(), "notice", this);
    statusBar()->addWidget(noticeLabel_, 1);

    applyPreferences(loadPreferences());
    board_->setFocus();
    statusChanged();
}

GameRoomWindow::~GameRoomWindow() = default;

void GameRoomWindow::applyPreferences(const Preferences& preferences)
{
    preferences_ = preferences;
    board_->setOptions(preferences.board);
    room_.setKeepSelectionOnRefusal(preferences.keepSelectionOnRefusal);
    computer_->setPauseBetweenMoves(preferences.computerPause);
    computer_->setSearchThreads(preferences.searchThreads);
    clock_->setInUse(preferences.showClock);
    sounds_->setVolume(preferences.soundVolume);
    sounds_->setOn(preferences.soundsOn);
    markLegend_->setPixmap(markLegendPicture(boardThemeNamed(preferences.board.theme), devicePixelRatioF()));
    analysis_->setSearchThreads(preferences.searchThreads);
}

QAction* GameRoomWindow::addMenuItem(QMenu* menu, const QString& text, const char* name,
                                     const QKeySequence& shortcut, const std::function<void()>& run)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, run);
    return action;
}

void GameRoomWindow::buildMenu()
{
    QAction* about = menuBar()->addAction("About");
    about->setObjectName("abouted");
    connect(about, &QAction::triggered, this, [this] { forms_.showAbout(); });

    QMenu* menu = menuBar()->addMenu("Menu");
    menu->setObjectName("Menu");
    addMenuItem(menu, "New", "refreshgame", QKeySequence("Ctrl+N"), [this] {
        if (!remoteCommand(&RemoteRoom::proposeNewGame)) room_.newGame();
    });
    addMenuItem(menu, "New Game with Players...", "players", QKeySequence("Ctrl+Shift+N"),
                [this] { newGameWithPlayers(); });
    addMenuItem(menu, "Hint", "hint", QKeySequence("Ctrl+H"), [this] { computer_->showHint(); });
    addMenuItem(menu, "Open", "open", QKeySequence("Ctrl+O"), [this] { openGame(); });
    addMenuItem(menu, "Save As", "savea", {}, [this] { saveGameAs(); });
    addMenuItem(menu, "Save", "save", QKeySequence("Ctrl+S"), [this] { saveGame(); });
    addMenuItem(menu, "Win Option?", "option", {}, [this] {
        if (!remoteCommand(&RemoteRoom::winOptionAsked)) room_.toggleWinOption();
    });
    addMenuItem(menu, "Resign", "resign", {}, [this] {
        if (!remoteCommand(&RemoteRoom::resign)) room_.resign();
    });
    addMenuItem(menu, "Declare Draw", "Draws", {}, [this] {
        if (!remoteCommand(&RemoteRoom::offerDraw)) room_.declareDraw();
    });
    addMenuItem(menu, "<< Back to First Move - For Playback", "beginning", {},
                [this] { roomInput([this] { room_.backToFirstMove(); }); });
    addMenuItem(menu, ">> Forward to end - End Playback", "forward", {},
                [this] { roomInput([this] { room_.forwardToEnd(); }); });
    addMenuItem(menu, "Print Board Position", "boardpos", QKeySequence("Ctrl+P"), [this] { print(); });
    addMenuItem(menu, "Rules / Help?", "Ruleofgame", QKeySequence(Qt::Key_F1), [this] { forms_.showRules(); });

    menu->addSeparator();
    addMenuItem(menu, "Export Board as PNG...", "exportPng", {}, [this] {
        exportBoard("Export Board as PNG", "PNG picture (*.png)",
                    [this](const QString& path) { return exportPng(path, exportedScene()); });
    });
    addMenuItem(menu, "Export Board as SVG...", "exportSvg", {}, [this] {
        exportBoard("Export Board as SVG", "SVG drawing (*.svg)",
                    [this](const QString& path) { return exportSvg(path, exportedScene()); });
    });
    addMenuItem(menu, "Export Score Sheet (PDF)...", "exportScoreSheet", {}, [this] {
        exportBoard("Export Score Sheet", "PDF document (*.pdf)", [this](const QString& path) {
            return exportScoreSheet(path, exportedScene(), scoreSheetOf(room_));
        });
    });
    addMenuItem(menu, "Preferences...", "editPreferences", QKeySequence("Ctrl+,"), [this] { editPreferences(); });

    // The game as plain text.
    menu->addSeparator();
    addMenuItem(menu, "Export Game Text...", "exportGameText", QKeySequence("Ctrl+Shift+E"),
                [this] { gameText_->exportToFile(); });
    addMenuItem(menu, "Copy Game", "copyGame", QKeySequence("Ctrl+Shift+C"), [this] { gameText_->copyToClipboard(); });
    addMenuItem(menu, "Import Game Text...", "importGameText", QKeySequence("Ctrl+Shift+I"),
                [this] { gameText_->importFromFile(); });
    addMenuItem(menu, "Paste Game", "pasteGame", QKeySequence("Ctrl+Shift+V"), [this] { gameText_->pasteFromClipboard(); });
    // Study of the game, and the clock.
    menu->addSeparator();
    addMenuItem(menu, "Review Game", "reviewGame", QKeySequence("Ctrl+R"), [this] { review_->startReview(); });
    menu->addAction(analysis_->panelAction());
    menu->addSeparator();
    addClockMenuItems(menu);
    addRemoteMenuItems(menu);
}

void GameRoomWindow::addClockMenuItems(QMenu* menu)
{
    pauseClock_ = addMenuItem(menu, clock_->pauseActionText(), "pauseClock", QKeySequence(Qt::Key_F5),
                              [this] { clock_->togglePause(); });
    const auto showPause = [this] {
        pauseClock_->setText(clock_->pauseActionText());
        pauseClock_->setEnabled(clock_->mayPause());
    };
    connect(clock_, &ClockPanel::pauseChanged, this, showPause);
    showPause();
}

// The players and the time control of the new game are chosen together.
void GameRoomWindow::newGameWithPlayers()
{
    TimeControl control = clock_->clock().control();
    if (computer_->newGameWithPlayers(clock_->inUse() ? &control : nullptr)) clock_->startGame(control);
}

// The history from the keyboard. Left and Right give way to the board while
// its square cursor shows.
void GameRoomWindow::addHistoryKeys()
{
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_Left), [this] { roomInput([this] { room_.takeBack(); }); }},
        {QKeySequence(Qt::Key_Right), [this] { roomInput([this] { room_.forward(); }); }},
        {QKeySequence(Qt::Key_Home), [this] { roomInput([this] { room_.backToFirstMove(); }); }},
        {QKeySequence(Qt::Key_End), [this] { roomInput([this] { room_.forwardToEnd(); }); }},
        {QKeySequence::Undo, [this] { if (!remoteCommand(&RemoteRoom::requestTakeBack)) room_.takeBack(); }},
    };
    for (const auto& [key, run] : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
    }
}

BoardScene GameRoomWindow::exportedScene() const
{
    BoardScene scene = sceneOf(room_, preferences_.board);
    scene.selected = -1;
    scene.marked.fill(false);
    return scene;
}

void GameRoomWindow::exportBoard(const QString& caption, const QString& filter,
                                 const std::function<std::optional<QString>(const QString&)>& write)
{
    const QString path = chooseExportFile(this, caption, filter);
    if (path.isEmpty()) return;
    if (const auto error = write(path)) {
        message(("Could not export to " + path + ": " + *error + ".").toStdString());
        return;
    }
    noticeLabel_->setText("Exported " + path);
}

void GameRoomWindow::editPreferences()
{
    PreferencesDialog dialog(preferences_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    applyPreferences(dialog.preferences());
    savePreferences(preferences_);
}

bool GameRoomWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the win option's label changes it, as the menu item does.
    if (watched == winOptionLabel_ && event->type() == QEvent::MouseButtonRelease) {
        if (!remoteCommand(&RemoteRoom::winOptionAsked)) room_.toggleWinOption();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QWidget* GameRoomWindow::buildSidePanel()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    const double scale = forms_.displayScale().scaleX;

    winOptionLabel_ = makeLabel(QString(), "Label1", panel);
    winOptionLabel_->setCursor(Qt::PointingHandCursor);
    winOptionLabel_->installEventFilter(this);
    statusLabel_ = makeLabel(QString(), "Label2", panel);
    clock_ = new ClockPanel(room_, answers_, panel);
    statusLabel_->setFont(scaledFont(statusLabel_->font(), 1.6 * scale, true));
    checkLabel_ = makeLabel("Check!", "Label3", panel);
    checkLabel_->setFont(scaledFont(checkLabel_->font(), 1.6 * scale, true));
    checkLabel_->setStyleSheet("color: #c0392b;");
    keepPlaceWhenHidden(checkLabel_);
    moveNumberLabel_ = makeLabel(QString(), "Label9", panel);
    notationLabel_ = makeLabel(QString(), "notation", panel);
    notationLabel_->setFont(scaledFont(notationLabel_->font(), 1.2 * scale, true));
    reserveLines(notationLabel_, 1);
    moveList_ = new QListWidget(panel);
    moveList_->setObjectName("moveList");
    moveList_->setFocusPolicy(Qt::NoFocus);
    moveList_->setSelectionMode(QAbstractItemView::NoSelection);
    moveList_->setCursor(Qt::PointingHandCursor);
    // A click on a move shows the position after it, stepping there as Take Back and Forward would.
    connect(moveList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) {
                roomInput([this, item] { room_.goToHalfMove(item->data(Qt::UserRole).toInt()); });
            });

    auto* switchSides = new KeyClickButton("Switch Sides", "Command1", panel);
    connect(switchSides, &QPushButton::clicked, this, [this] { roomInput([this] { room_.switchSides(); }); });
    auto* exit = new KeyClickButton("Exit", "Command2", panel);
    connect(exit, &QPushButton::clicked, this, &GameRoomWindow::exitClicked);
    auto* takeBack = new KeyClickButton("Take Back", "Command3", panel);
    connect(takeBack, &QPushButton::clicked, this, [this] {
        if (!remoteCommand(&RemoteRoom::requestTakeBack)) room_.takeBack();
    });
    forwardButton_ = new KeyClickButton("Forward", "Command4", panel);
    connect(forwardButton_, &QPushButton::clicked, this, [this] { roomInput([this] { room_.forward(); }); });
    // Forward stands beside Take Back and shows only while a later position exists;
    // Take Back keeps its width meanwhile, so a second click on it never lands on Forward.
    keepPlaceWhenHidden(forwardButton_);
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(takeBack);
    historyRow->addWidget(forwardButton_);

    auto* legendRow = new QHBoxLayout;
    legendRow->addWidget(makeLabel("You may move where ", "Label6", panel));
    markLegend_ = makeMarkPicture(panel);
    legendRow->addWidget(markLegend_);
    legendRow->addWidget(makeLabel("Appears ", "Label4", panel));
    legendRow->addStretch();

    column->addWidget(winOptionLabel_);
    column->addSpacing(12);
    column->addWidget(statusLabel_);
    column->addWidget(clock_);
    column->addWidget(checkLabel_);
    column->addWidget(moveNumberLabel_);
    column->addSpacing(8);
    column->addWidget(notationLabel_);
    column->addWidget(moveList_, 1);
    review_ = std::make_unique<GameReviewer>(room_, panel);
    connect(review_.get(), &GameReviewer::marksChanged, this, &GameRoomWindow::showMoveList);
    column->addWidget(review_->panel());
    column->addWidget(makeLabel("Click on a piece ", "Label5", panel));
    column->addLayout(legendRow);
    computer_ = std::make_unique<ComputerPlayer>(room_, answers_, *board_, panel);
    computer_->watchClock(clock_->clock());
    column->addWidget(computer_->panel());
    column->addSpacing(12);
    column->addLayout(historyRow);
    column->addWidget(switchSides);
    column->addWidget(exit);
    return panel;
}

bool GameRoomWindow::openGame()
{
    if (!room_.gameSaved() && !ask(Question::ExitWithoutSaving)) return false;
    const QString path = chooseSavedGame(this, FileBoxMode::Open);
    if (path.isEmpty()) return false;
    const auto game = readSavedGame(path.toStdString());
    if (const auto* error = std::get_if<FileError>(&game)) {
        message(couldNotOpen(path, *error));
        return false;
    }
    endRemote();
    room_.load(std::get<SavedGame>(game), path.toStdString());
    return true;
}

void GameRoomWindow::saveGame()
{
    if (room_.fileName().empty()) {
        saveGameAs();
        return;
    }
    saveTo(room_.fileName());
}

void GameRoomWindow::saveGameAs()
{
    const QString path = chooseSavedGame(this, FileBoxMode::Save);
    if (path.isEmpty()) return;
    saveTo(path.toStdString());
}

// The game first, then the players beside it, tied to the bytes just written.
void GameRoomWindow::saveTo(const std::string& path)
{
    computer_->savingAs(path);
    clock_->savingAs(path);
    if (!room_.save(path)) return;
    recovery_.remove();
    computer_->keepPlayersBeside(path);
    if (!clock_->keepBeside(path)) message("The chess clock could not be written beside the game.");
    review_->keepBeside(path);
}

void GameRoomWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter(printer, this)) return;
    if (!printTo(printer))
        message("The board could not be printed: the printer or the file could not be opened.");
}

bool GameRoomWindow::printTo(QPrinter& printer) const
{
    return printBoardPosition(printer, exportedScene(), sidePanelTextsOf(room_));
}

// A redraw ends a passing notice; what the position itself says stays.
void GameRoomWindow::boardChanged()
{
    board_->update();
    noticeLabel_->setText(standingNotice_);
    if (analysis_) analysis_->roomChanged();
}

void GameRoomWindow::moveRefused(std::string_view reason) { noticeLabel_->setText(QString::fromUtf8(reason)); }

void GameRoomWindow::keepGameSafe()
{
    if (!preferences_.autosave) return;
    if (const auto error = recovery_.follow(room_)) {
        noticeLabel_->setText("The game could not be kept safe: " + QString::fromStdString(error->reason));
    }
    clock_->keepSafeBeside(recovery_.path());
}

void GameRoomWindow::statusChanged()
{
    winOptionLabel_->setText(QString::fromUtf8(room_.winOptionText()));
    statusLabel_->setText(QString::fromUtf8(room_.statusText()));
    checkLabel_->setVisible(room_.checkShown());
    moveNumberLabel_->setText(QString::fromStdString(room_.moveNumberText()));
    notationLabel_->setText(QString::fromStdString(room_.notation()));
    forwardButton_->setVisible(room_.forwardVisible());
    const QString fileName = QString::fromStdString(room_.fileName());
    setWindowTitle(fileName.isEmpty() ? QString("Game Room") : "Game Room - " + fileName);
    forms_.rememberFileName(fileName);
    standingNotice_ = QString::fromStdString(room_.standingNotice());
    noticeLabel_->setText(standingNotice_);
    if (review_) review_->followGame();
    showMoveList();
    board_->update();
    clock_->follow();
    if (const auto sound = moveSound_.after(room_)) sounds_->play(*sound);
    keepGameSafe();
    if (computer_) computer_->positionChanged();
    if (analysis_) analysis_->roomChanged();
    showRemoteAids();
}

// The whole line of play, one half-move a row, the move on the board marked,
// and right after it the result when one shows. Each row keeps the half-move
// a click on it goes to. Rows are changed in place, so a click on one survives
// the step it makes.
void GameRoomWindow::showMoveList()
{
    const MoveHistory& history = room_.history();
    const std::optional<GameResult> result = room_.result();
    const int rows = history.lastHalfMove() + (result ? 1 : 0);
    while (moveList_->count() > rows) delete moveList_->takeItem(moveList_->count() - 1);
    while (moveList_->count() < rows) moveList_->addItem(QString());
    int row = 0;
    for (int k = 0; k <= history.lastHalfMove(); ++k) {
        if (k > 0) styleMoveRow(moveList_->item(row++), k);
        if (result && k == history.halfMoves()) styleResultRow(moveList_->item(row++), *result);
    }
}

void GameRoomWindow::styleMoveRow(QListWidgetItem* item, int halfMove)
{
    const MoveHistory& history = room_.history();
    const int number = (halfMove + 1) / 2;
    const QString prefix = halfMove % 2 == 1 ? QString("%1. ").arg(number) : QString("%1... ").arg(number);
    item->setText(prefix + QString::fromStdString(room_.moveListText(halfMove)));
    item->setToolTip(item->text()); // a narrow list cuts a long row
    item->setData(Qt::UserRole, halfMove);
    const bool current = halfMove == history.halfMoves();
    QFont font = item->font();
    font.setBold(current);
    font.setItalic(false);
    item->setFont(font);
    const QPalette& colours = palette();
    item->setBackground(current ? colours.brush(QPalette::Highlight) : QBrush());
    item->setForeground(current                            ? colours.brush(QPalette::HighlightedText)
                        : halfMove > history.halfMoves() ? colours.brush(QPalette::Disabled, QPalette::Text)
                                                         : colours.brush(QPalette::Text));
    review_->markRow(item, halfMove, current);
    if (current) moveList_->scrollToItem(item);
}

// The score and why, under the move that ended the game.
void GameRoomWindow::styleResultRow(QListWidgetItem* item, const GameResult& result)
{
    item->setText(QString::fromStdString(resultLine(result)));
    item->setToolTip(item->text());
    item->setData(Qt::UserRole, room_.halfMoves());
    QFont font = item->font();
    font.setBold(false);
    font.setItalic(true);
    item->setFont(font);
    item->setBackground(QBrush());
    item->setForeground(palette().brush(QPalette::Text));
    moveList_->scrollToItem(item);
}

void GameRoomWindow::message(std::string_view text)
{
    QMessageBox::information(this, QGuiApplication::applicationDisplayName(), QString::fromUtf8(text));
}

void GameRoomWindow::beep() { QApplication::beep(); }

bool GameRoomWindow::ask(Question question)
{
    const bool okCancel = buttonsOf(question) == Buttons::OkCancel;
    const auto yes = okCancel ? QMessageBox::Ok : QMessageBox::Yes;
    const auto no = okCancel ? QMessageBox::Cancel : QMessageBox::No;
    const auto answer = QMessageBox::question(this, QGuiApplication::applicationDisplayName(),
                                              QString::fromUtf8(questionText(question)), yes | no, yes);
    return answer == yes;
}

void GameRoomWindow::exitClicked()
{
    if (!room_.mayExit()) return;
    exitConfirmed_ = true;
    close();
}

void GameRoomWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    forms_.gameRoomActivated();
    room_.activate();
}

void GameRoomWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        forms_.gameRoomActivated();
        room_.activate();
    }
}

void GameRoomWindow::closeEvent(QCloseEvent* event)
{
    // Closing the window loses an unsaved game as surely as Exit does.
    if (!exitConfirmed_ && !room_.mayExit()) {
        event->ignore();
        return;
    }
    forms_.gameRoomClosed();
    event->accept();
}

} // namespace palisade
