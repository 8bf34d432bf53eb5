#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Dravlet as a screen-reader user meets it: the real program, found by its title on the
AT-SPI accessibility bus, read and played through AT-SPI alone (actions and editable
text, no keyboard or mouse). Run by the real-display tests, on their private display
and session bus.

usage: atspi_test.py PATH-TO-DRAVLET
"""
import os
import re
import subprocess
import sys
import time

TITLE = "Dravlet Problem Practice Version 2.1"
results = {"passed": 0, "failed": 0}


def check(what, ok, detail=""):
    if ok:
        results["passed"] += 1
    else:
        results["failed"] += 1
        print(f"FAILED: {what} {detail}".rstrip())


def wait_for(condition, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        pump(0.05)
    return condition()


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def enable_accessibility():
    """Tells every toolkit on this session bus that assistive technology is listening."""
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                    "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                    "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"


def walk(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def find(root, predicate):
    for node in walk(root):
        try:
            if predicate(node):
                return node
        except Exception:  # a node can vanish while we walk
            continue
    return None


def the_window(pyatspi):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        frame = find(app, lambda n: n.getRoleName() == "frame" and n.name == TITLE)
        if frame is not None:
            return frame
    return None


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    index = names.index("press") if "press" in names else 0
    action.doAction(index)


def labelled_by(pyatspi, node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return []


def answer_to(problem):
    """The right answer, from the numbers in the problem text (all answers are whole),
    and the verdict a wrong answer gets, blank for blank."""
    n = [int(v) for v in re.findall(r"\d+", problem)]
    if "must be added" in problem:      # L1 of P1, add ? of P2 to reach R
        answer = n[0] * (n[3] - n[1]) // (n[2] - n[3])
        return answer, f"Wrong! {answer} Liters are needed"
    if "needs" in problem:              # T of R from P1 and P2: how much of P1
        answer = n[0] * (n[3] - n[1]) // (n[3] - n[2])
        return answer, f"Wrong! {answer} Liters  are needed"
    answer = (n[0] * n[1] + n[2] * n[3]) // (n[0] + n[2])
    return answer, f"Wrong! The solution is  {answer}%"


def main(dravlet):
    enable_accessibility()
    program = None
    try:
        import pyatspi
        program = subprocess.Popen([dravlet], stderr=subprocess.DEVNULL)
        window = wait_for(lambda: the_window(pyatspi), timeout=20)
        check("the program is found by its title", window is not None)
        if window is None:
            return

        def control(role, name=None, description=None):
            return find(window, lambda n: n.getRoleName() == role
                        and (name is None or n.name == name)
                        and (description is None or n.description == description))

        start = control("push button", "Start")
        problem = control("text", "Problem")
        answer = control("text", "Your answer")
        verdict = control("label", description="Result of your answer")
        right = control("label", description="Right answers")
        wrong = control("label", description="Wrong answers")
        for name, node in [("Start", start), ("problem box", problem), ("answer box", answer),
                           ("verdict", verdict), ("right count", right), ("wrong count", wrong)]:
            check(f"{name} is found", node is not None)
        if None in (start, problem, answer, verdict, right, wrong):
            return
        check("counts read 0 at start", right.name == "0" and wrong.name == "0",
              f"({right.name!r}, {wrong.name!r})")
        check("each count is labelled by its caption",
              labelled_by(pyatspi, right) == ["Right"] and labelled_by(pyatspi, wrong) == ["Wrong"],
              f"({labelled_by(pyatspi, right)!r}, {labelled_by(pyatspi, wrong)!r})")

        announced = []
        pyatspi.Registry.registerEventListener(
            lambda e: announced.append((e.source.description, e.source.name)),
            "object:property-change:accessible-name")

        press(start)
        text = wait_for(lambda: (t := text_of(problem)) and "Thinking" not in t and t)
        check("a problem is read from the problem box", bool(text) and "%" in text, repr(text))
        check("the answer box is named by its problem, then as itself",
              wait_for(lambda: answer.name in (text + " Your answer", text + ". Your answer")), repr(answer.name))
        right_answer = str(answer_to(text)[0])
        answer.queryEditableText().setTextContents(right_answer)
        check("the answer is typed through editable text",
              wait_for(lambda: text_of(answer) == right_answer), repr(text_of(answer)))
        submit = wait_for(lambda: control("push button", "Submit"))
        press(submit)
        check("the verdict reads CORRECT", wait_for(lambda: verdict.name == "CORRECT"),
              repr(verdict.name))
        check("the right count reads exactly ' 1'", wait_for(lambda: right.name == " 1"),
              repr(right.name))
        check("the wrong count reads exactly ' 0'", wait_for(lambda: wrong.name == " 0"),
              repr(wrong.name))
        pump(0.5)
        check("the verdict change was announced",
              ("Result of your answer", "CORRECT") in announced, repr(announced))
        check("the count change was announced", ("Right answers", " 1") in announced,
              repr(announced))
        next_button = control("push button", "CORRECT. Right answers 1, wrong answers 0. Next")
        check("Next is named by the verdict and both counts", next_button is not None)
        press(next_button)
        check("Next clears the verdict", wait_for(lambda: verdict.name == ""), repr(verdict.name))
        second = wait_for(lambda: (t := text_of(problem)) != text and "Thinking" not in t and t)
        answer.queryEditableText().setTextContents(str(answer_to(second)[0] + 1))
        press(control("push button", "Submit"))
        check("a wrong answer shows the right one, blank for blank",
              wait_for(lambda: verdict.name == answer_to(second)[1]), repr(verdict.name))
        check("the wrong count reads exactly ' 1'", wait_for(lambda: wrong.name == " 1"),
              repr(wrong.name))

        press(control("push button", "Quit"))
        try:
            status = program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            status = None
        check("Quit ends the program with status 0", status == 0, f"(status {status})")
    finally:
        if program is not None and program.poll() is None:
            program.kill()
        print(f"{results['passed']} passed, {results['failed']} failed")


if __name__ == "__main__":
    main(sys.argv[1])
    sys.exit(1 if results["failed"] else 0)
