#pragma once

#include <array>
#include <string_view>

namespace palisade {

// Every question the game room asks.
enum class Question {
    Queen,
    Knight,
    Rook,
    Castle,
    SaveThisKing,
    ExitWithoutSaving,     // leaving the game room
    ExitGameWithoutSaving, // starting a new game
};

enum class Buttons { YesNo, OkCancel };

struct QuestionForm {
    Question question;
    std::string_view text;
    Buttons buttons;
};

inline constexpr std::array<QuestionForm, 7> kQuestionForms = {{
    {Question::Queen, "Queen?", Buttons::YesNo},
    {Question::Knight, "Knight?", Buttons::YesNo},
    {Question::Rook, "Rook?", Buttons::YesNo},
    {Question::Castle, "Castle?", Buttons::YesNo},
    {Question::SaveThisKing, "Save this king?", Buttons::YesNo},
    {Question::ExitWithoutSaving, "Exit without saving?", Buttons::OkCancel},
    {Question::ExitGameWithoutSaving, "Exit Game without saving?", Buttons::OkCancel},
}};

constexpr const QuestionForm& formOf(Question question)
{
    return kQuestionForms[static_cast<std::size_t>(question)];
}

constexpr std::string_view questionText(Question question) { return formOf(question).text; }
constexpr Buttons buttonsOf(Question question) { return formOf(question).buttons; }

static_assert([] {
    for (std::size_t i = 0; i < kQuestionForms.size(); ++i) {
        if (static_cast<std::size_t>(kQuestionForms[i].question) != i) return false;
    }
    return true;
}(), "the forms are kept in the order of the questions");

} // namespace palisade
