#!/usr/bin/python3
"""Plays a captained match in the pelmora window through the accessibility
interface alone (AT-SPI, as a screen reader sees the window), writing down
each answer it gives, then checks that pelmora-cli --answers plays the very
same report from those answers.

Usage: captained_match.py PELMORA PELMORA_CLI TEAM1 TEAM2 SEED WORKDIR
Run it inside a desktop session with an accessibility bus (see run.sh).
"""
import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 300  # seconds for the whole match
OVERS = 3  # a short match: every kind of question, in seconds


def fail(message):
    print("captained_match: " + message, file=sys.stderr)
    sys.exit(1)


def players(path):
    """The names of a team file's players, and those who bowl, in file order."""
    names, bowlers = [], []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if len(fields) == 9 and not line.startswith("#"):
                names.append(fields[0])
                if fields[5] != "0":
                    bowlers.append(fields[0])
    return names, bowlers


def descendants(acc, depth=0):
    if acc is None or depth > 12:
        return
    yield acc
    for i in range(acc.childCount):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:  # a window closing under us
            continue
        yield from descendants(child, depth + 1)


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(200):
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "pelmora":
                return app
        time.sleep(0.1)
    fail("the window never appeared on the accessibility bus")


def press(acc):
    """Presses a button or menu item. One that opens a modal dialog answers
    only when that dialog closes, so the reply is not waited for."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    wanted = [i for i, n in enumerate(names) if n.lower() in ("press", "click", "activate", "toggle")]
    pyatspi.setTimeout(300, 300)
    try:
        action.doAction(wanted[0] if wanted else 0)
    except Exception:
        pass
    finally:
        pyatspi.setTimeout(25000, 15000)


def button(window, label):
    for acc in descendants(window):
        if acc.getRole() == pyatspi.ROLE_PUSH_BUTTON and acc.name.replace("&", "") == label:
            return acc
    return None


def choice_list(window):
    """The control of the dialog that holds the rows and lets one be selected."""
    for acc in descendants(window):
        if acc.getRole() in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE):
            return acc
    return None


def table_of(rows_owner):
    try:
        return rows_owner.queryTable()
    except NotImplementedError:
        return None


def select_row(rows_owner, index):
    """Selects a row as a screen reader would: through the table's row
    selection or the list's selection when it offers one, else through the
    row's own toggle action."""
    table = table_of(rows_owner)
    if table is not None and table.nRows > 0:
        for row in range(table.nRows):
            if row != index and table.isRowSelected(row):
                table.removeRowSelection(row)
        if table.addRowSelection(index):
            return
        item = table.getAccessibleAt(index, 0)
    else:
        try:
            selection = rows_owner.querySelection()
        except NotImplementedError:
            selection = None
        if selection is not None:
            selection.clearSelection()
            selection.selectChild(index)
            return
        item = rows_owner.getChildAtIndex(index)
    action = item.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    toggles = [i for i, n in enumerate(names) if n.lower() in ("toggle", "select", "press", "click")]
    if not toggles:
        fail("a row offers neither selection nor a toggle action (actions: %s)" % ", ".join(names))
    action.doAction(toggles[0])


def row_texts(rows_owner):
    """One text per row: the names of its cells, joined."""
    table = table_of(rows_owner)
    if table is not None and table.nRows > 0:
        return [(row, " ".join(table.getAccessibleAt(row, col).name for col in range(table.nColumns)))
                for row in range(table.nRows)]
    texts = []
    for i in range(rows_owner.childCount):
        child = rows_owner.getChildAtIndex(i)
        if child.getRole() == pyatspi.ROLE_LIST_ITEM:
            texts.append((i, child.name))
    return texts


answered = set()


def answer_dialog(top, sides, answers, question):
    """Answers one of the window's dialogs, if it is one; returns the number
    of choice questions answered so far."""
    if top is None or top.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FRAME):
        return question
    title = top.name
    if title in ("Choose Batsman", "Choose Bowler"):
        if top.path in answered:  # pressed already, not closed yet
            return question
        rows_owner = choice_list(top)
        if rows_owner is None:
            fail("the choice dialog has no list a screen reader can select in: " +
                 ", ".join("%s '%s'" % (a.getRoleName(), a.name) for a in descendants(top)))
        rows = row_texts(rows_owner)
        if not rows:
            return question
        # Not the row the dialog starts on: the answer must follow the selection.
        index, text = rows[(question * 7 + 1) % len(rows)]
        question += 1
        select_row(rows_owner, index)
        words = text.split()
        batsman = title == "Choose Batsman"
        known = [(s, names.index(w) if batsman else bowlers.index(w))
                 for s, (names, bowlers) in enumerate(sides) for w in words
                 if w in (names if batsman else bowlers)]
        if not known:
            fail("row \"%s\" names no player of the sides" % text)
        time.sleep(0.05)
        ok = button(top, "OK")
        if ok is None:
            fail("the choice dialog has no OK button")
        answers.append(("batsman " if batsman else "bowler ") + str(known[0][1]))
        if os.environ.get("PELMORA_ATSPI_VERBOSE"):
            print("captained_match: %.1f %s: %s" % (time.time(), title, answers[-1]), file=sys.stderr)
        answered.add(top.path)
        press(ok)
        time.sleep(0.05)
    elif top.getRole() != pyatspi.ROLE_FRAME:
        ok = button(top, "OK")
        if ok is not None:
            press(ok)
            time.sleep(0.05)
    return question


def menu_item(app, label):
    item = next((a for a in descendants(app) if a.getRole() == pyatspi.ROLE_MENU_ITEM
                 and a.name.replace("&", "") == label), None)
    if item is None:
        fail("no menu item " + label)
    return item


def open_dialogs(app):
    """The window's dialogs now; one closing while it is read is gone already."""
    found = []
    try:
        tops = [app.getChildAtIndex(i) for i in range(app.childCount)]
    except Exception:
        return found
    for top in tops:
        try:
            if top is not None and top.getRole() == pyatspi.ROLE_DIALOG:
                found.append(top)
        except Exception:
            pass
    return found


def set_overs(app, overs):
    """Game > Options: a limited-overs match of `overs` overs, set through the
    spin box's value as a screen reader user would."""
    press(menu_item(app, "Options"))
    for _ in range(100):
        dialog = next(iter(open_dialogs(app)), None)
        if dialog is not None:
            break
        time.sleep(0.1)
    else:
        fail("Game > Options opened no dialog")
    spin = next((a for a in descendants(dialog) if a.getRole() == pyatspi.ROLE_SPIN_BUTTON), None)
    if spin is None or spin.name != "Overs":
        fail("the Game Options dialog has no spin box named Overs")
    spin.queryValue().currentValue = overs
    ok = button(dialog, "OK")
    if ok is None:
        fail("the Game Options dialog has no OK button")
    press(ok)
    for _ in range(100):  # closed before the game starts
        if not open_dialogs(app):
            return
        time.sleep(0.1)
    fail("the Game Options dialog did not close on OK")


def main():
    pelmora, cli, team1, team2, seed, work = sys.argv[1:7]
    sides = [players(team1), players(team2)]
    report = os.path.join(work, "window-report.txt")
    answers_path = os.path.join(work, "answers.txt")
    for path in (report, answers_path):
        if os.path.exists(path):
            os.remove(path)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    window = subprocess.Popen([pelmora, "/t1=" + team1, "/t2=" + team2, "/r=" + seed, "/nta", "/d=0",
                               "/s=" + report], env=env)
    answers = []
    try:
        app = find_app()
        set_overs(app, OVERS)
        press(menu_item(app, "Play Game"))
        started = time.time()
        question = 0
        while not os.path.exists(report):
            if time.time() - started > TIMEOUT:
                fail("the match did not end within %d s (%d answers given)" % (TIMEOUT, len(answers)))
            if window.poll() is not None:
                break
            try:
                tops = [app.getChildAtIndex(i) for i in range(app.childCount)]
            except Exception:
                continue
            for top in tops:
                try:
                    question = answer_dialog(top, sides, answers, question)
                except Exception as e:  # a dialog closing while it is read
                    if os.environ.get("PELMORA_ATSPI_VERBOSE"):
                        print("captained_match: skipped:", e, file=sys.stderr)
            time.sleep(0.02)
    finally:
        with open(answers_path, "w", encoding="utf-8") as f:
            f.write("\n".join(answers) + "\n")
        if window.poll() is None:
            window.terminate()
            window.wait(10)

    if not os.path.exists(report):
        fail("the window wrote no report")
    console = subprocess.run([cli, "/t1=" + team1, "/t2=" + team2, "/r=" + seed, "--overs=%d" % OVERS,
                              "--answers=" + answers_path],
                             capture_output=True)
    if console.returncode != 0:
        fail("pelmora-cli --answers failed: " + console.stderr.decode(errors="replace"))
    with open(report, "rb") as f:
        played = f.read()
    if played != console.stdout:
        fail("the window's report differs from pelmora-cli --answers=%s (%d answers)" % (answers_path, len(answers)))
    print("captained_match: %d answers through the accessibility interface, reports identical" % len(answers))


if __name__ == "__main__":
    main()
