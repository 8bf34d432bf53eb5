// SPDX-License-Identifier: MIT
#pragma once

// Dravlet in layers, with one face per platform:
//   runtime/  random source, clock, number <-> text, and the control operations
//             (Controls, ProgramEnd): abstract seams, no toolkit;
//   engine/   this window object: all practice state and every handler, acting on the
//             twelve controls only through Controls, so it runs against every face and
//             against the tests' fake alike;
//   faces     each implements Controls and ProgramEnd and delivers the clicks: window/
//             (Qt, Linux), web/ (the page, this engine in WebAssembly), win32/ (Windows).
// A click travels: the face's button (QPushButton::clicked, a DOM click, WM_COMMAND) ->
// the face calls the handler here (cmdSubmit_Click, ...) -> the handler judges or draws
// and writes back through Controls (setCaption, setVisible, focus) -> the face's
// controls change.
// Everything runs on the one GUI thread, one handler at a time.

#include <array>
#include <cstdint>
#include <string>

#include "runtime/clock.h"
#include "runtime/controls.h"
#include "runtime/random.h"

namespace dravlet {

// The subject names. Each ends in exactly one blank, which the problem texts rely on.
inline constexpr std::array<const char*, 33> subjectNames{
    "Bob ",     "John ",    "Juan ",    "Tyrone ",    "Diana ",   "Estrella ", "Esperanza ",
    "Oscar ",   "Fernando ", "Eric ",   "Lance ",     "Jenny ",   "Tommy ",    "William ",
    "April ",   "Kelly ",   "Anthony ", "Flor ",      "Karen ",   "Natalie ",  "Delores ",
    "Scott ",   "Nikita ",  "Tiffany ", "Bianca ",    "Patricia ", "Lisa ",    "Mayra ",
    "Mary ",    "Richard ", "Luis ",    "Julio ",     "Danielle "};

inline constexpr int nameSlots = 33;       // a subject draw takes slots 1 to 33
inline constexpr int largestNumber = 99;   // liters and strengths are drawn from 1 to 99
inline constexpr int problemKinds = 3;

inline constexpr const char* waitingText = "Thinking.  Please wait....";
inline constexpr const char* correctText = "CORRECT";

// What Submit judged, for whatever records the practice (a learning platform): the answer
// as the drill read it, the right answer, the verdict and both counts after it.
struct Judgement {
    double answer;
    double rightAnswer;
    bool right;
    std::int32_t rightCount;
    std::int32_t wrongCount;
};

class JudgementObserver {
public:
    JudgementObserver() = default;
    virtual ~JudgementObserver() = default;
    JudgementObserver(const JudgementObserver&) = delete;
    JudgementObserver& operator=(const JudgementObserver&) = delete;

    virtual void judged(const Judgement& judgement) = 0;
};

// The window object: owns the state of one practice run and handles the four buttons.
class cmdDravlet {
public:
    // The state of a practice run, under the names the program has always used.
    struct Variables {
        float Liters1 = 0;       // liters of the first solution, 1 to 99
        float Liters2 = 0;       // liters of the second solution, 1 to 99
        float LitersTotal = 0;   // Liters1 + Liters2
        float Pct1 = 0;          // strength of the first solution, per cent
        float Pct2 = 0;          // strength of the second, never equal to Pct1
        double PctResult = 0;    // strength of the blend, always whole
        std::int16_t ProbKind = 1;  // 1: liters to add, 2: liters of the first, 3: strength
        std::array<std::string, 101> NameTable{};  // slots 1 to 33 hold the names
        std::int32_t RightCount = 0;
        // 32 bits like RightCount: a 16-bit count would end the program at the
        // 32 768th wrong answer.
        std::int32_t WrongCount = 0;
    };

    // Creating the window object runs Form_Load: the generator is reseeded from the
    // clock, the counts start at zero and the first problem is of kind 1.
    cmdDravlet(Controls& controls, ProgramEnd& program, RandomSource& random, const Clock& clock);

    // Start: hides Start, shows Submit, focuses the answer box, draws a problem.
    void cmdRun_Click();
    // Submit: judges the answer, shows the verdict and both counts, draws the next kind.
    void cmdSubmit_Click();
    // Next: clears answer and verdict, brings Submit back, draws a problem.
    void cmdNext_Click();
    // Quit: ends the program at once.
    void cmdQuit_Click();

    const Variables& variables() const { return m_vars; }
    // Every judgement from now on is told to the observer, which outlives this object.
    void reportJudgementsTo(JudgementObserver& observer) { m_observer = &observer; }

private:
    void Form_Load();
    void NewProb();
    int draw(int n);
    std::string problemText(const std::string& Person, const std::string& SecondSubject) const;
    std::string wrongText() const;
    double rightAnswer() const;

    Controls& m_controls;
    ProgramEnd& m_program;
    RandomSource& m_random;
    const Clock& m_clock;
    Variables m_vars;
    JudgementObserver* m_observer = nullptr;
};

}  // namespace dravlet
