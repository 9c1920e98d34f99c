#!/usr/bin/env python3
"""Drives the real program in a real X server, as a student would.

Starts Xvfb and build/benchtabler with a fresh home directory, types into the
box, clicks the buttons at their places, answers the input boxes, closes the
message boxes, saves with "Output as delimited file" and compares the saved
file byte for byte; opens a data file with Ctrl+O, typing its path into the
file dialog; pastes spreadsheet rows through the clipboard and answers the
questions they ask; opens the graph of a falling ball's speed with its straight-line
fit, of a cooling curve with an exponential fit, of a pendulum with error
bars and the steepest and shallowest lines, and of T² with its uncertainty
from calculate column, fitted for g, whose lab report it saves as a PDF
through "Save report..." and its file dialog; records a board on a
pseudo-terminal into the box and the graph; shows fifty reaction times as a
histogram; reads the distance (the area) and the acceleration (a tangent)
off a cart's speed graph; fits a sine to five runs of a pendulum, saves the
session, quits, and opens the session again from the command line; opens a
tuning fork's sound file and reads its pitch off the spectrum. Saves a
screenshot of the window after start-up and one of each graph, and the
report's first page rendered.

Usage: end_to_end_test.py PROGRAM SCREENSHOT GRAPH_SCREENSHOT FIT_SCREENSHOT ERROR_BARS_SCREENSHOT
       PENDULUM_G_SCREENSHOT RECORD_SCREENSHOT REPORT_IMAGE HISTOGRAM_SCREENSHOT
       RUNS_SCREENSHOT AREA_SCREENSHOT SPECTRUM_SCREENSHOT [TEST]...
"""

import math
import os
import pty
import shutil
import subprocess
import sys
import tempfile
import time
import tty
import unittest
import wave

PROGRAM = None
SCREENSHOT = None
GRAPH_SCREENSHOT = None
FIT_SCREENSHOT = None
ERROR_BARS_SCREENSHOT = None
PENDULUM_G_SCREENSHOT = None
RECORD_SCREENSHOT = None
REPORT_IMAGE = None
HISTOGRAM_SCREENSHOT = None
RUNS_SCREENSHOT = None
AREA_SCREENSHOT = None
SPECTRUM_SCREENSHOT = None
REACTION_TIMES = ("0.242 0.264 0.242 0.240 0.222 0.243 0.281 0.261 0.279 0.256 0.260 0.254 0.201 "
                  "0.274 0.264 0.263 0.200 0.198 0.223 0.235 0.258 0.248 0.264 0.230 0.258 0.260 "
                  "0.230 0.299 0.265 0.284 0.231 0.228 0.239 0.246 0.267 0.256 0.236 0.221 0.234 "
                  "0.284 0.226 0.256 0.261 0.206 0.250 0.287 0.191 0.240 0.246 0.225").split()
DIALOG_TITLE = "Bench Tabler"

# Centres of the buttons in the window, in pixels (twips / 15).
BUTTONS = {
    "Mean and Standard Deviation": (376 + 32, 8 + 24),
    "first difference": (376 + 32, 64 + 20),
    "Difference Quotient": (456 + 32, 112 + 20),
    "Change Delimiter": (376 + 32, 272 + 20),
    "Output as delimited file": (448 + 28, 272 + 20),
    "generate random numbers": (376 + 32, 320 + 20),
    "Running Sum": (376 + 32, 112 + 20),
    "Clear Text Box": (376 + 32, 368 + 20),
    "Select Column": (376 + 32, 224 + 20),
    "change rows to columns": (448 + 28, 224 + 20),
    "experiment-specific calculations": (456 + 32, 160 + 20),
    "Graph": (376 + 32, 160 + 20),
    "calculate column": (448 + 28, 320 + 20),
    "record data": (448 + 28, 368 + 20),
}
TEXT_BOX = (180, 200)


def xdotool(*args, env):
    return subprocess.run(["xdotool", *args], env=env, check=True, capture_output=True,
                          text=True, timeout=30).stdout.strip()


class BenchTablerWindow:
    """The program under Xvfb, and the actions a student takes on it."""

    def __init__(self, start=True):
        self.home = tempfile.mkdtemp(prefix="benchtabler-home-")
        self.xvfb, display = self._start_xvfb()
        self.env = dict(os.environ, DISPLAY=display, HOME=self.home, QT_QPA_PLATFORM="xcb")
        self.env.pop("XDG_CONFIG_HOME", None)
        if start:
            self.start_program()

    def start_program(self, first_window="^Form1$", file=None):
        """Starts the program (opening the file, as a double-click in a file
        manager does) and waits for its first window to show: the main
        window, or a question that comes up as it shows."""
        self.program = subprocess.Popen([PROGRAM, *([file] if file else [])], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shown = self._wait_for_window(first_window)
        if first_window == "^Form1$":
            self.window = shown
            time.sleep(0.5)
        return shown

    @staticmethod
    def _start_xvfb():
        read_end, write_end = os.pipe()
        # -noreset: the server stays up when its last client goes (the crash test
        # kills the program and starts it again at once).
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                                pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        return xvfb, ":" + number

    def _wait_for_window(self, title_pattern, timeout=15):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                    title_pattern], env=self.env, capture_output=True,
                                   text=True).stdout.split()
            if found:
                return found[-1]
            time.sleep(0.05)
        shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                               env=self.env, capture_output=True, text=True).stdout.split()
        names = [subprocess.run(["xdotool", "getwindowname", window], env=self.env,
                                capture_output=True, text=True).stdout.strip() for window in shown]
        state = "running" if self.program.poll() is None else "ended (%s)" % self.program.poll()
        raise AssertionError("no window named %s; the program has %s, showing %s"
                             % (title_pattern, state, names))

    def _wait_until_closed(self, dialog, title_pattern="^" + DIALOG_TITLE + "$", timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                    title_pattern], env=self.env,
                                   capture_output=True, text=True).stdout.split()
            if dialog not in found:
                return
            time.sleep(0.05)
        raise AssertionError("the dialog stayed open")

    def click_at(self, x, y):
        xdotool("mousemove", "--window", self.window, str(x), str(y), "click", "1",
                env=self.env)

    def click(self, caption):
        self.click_at(*BUTTONS[caption])

    def type_into_box(self, text):
        """Empties the box with Clear Text Box and types the text into it."""
        self.click("Clear Text Box")
        self.click_at(*TEXT_BOX)
        for number, line in enumerate(text.split("\n")):
            if number > 0:  # xdotool types a line feed as a key Qt does not take for Enter
                xdotool("key", "Return", env=self.env)
            if line:
                xdotool("type", "--delay", "5", line, env=self.env)

    def answer(self, text):
        """Types into the input box that is open and presses Enter (Escape when empty)."""
        dialog = self._wait_for_window("^" + DIALOG_TITLE + "$")
        xdotool("windowfocus", "--sync", dialog, env=self.env)
        if text:
            xdotool("type", "--delay", "5", text, env=self.env)
            xdotool("key", "Return", env=self.env)
        else:
            xdotool("key", "Escape", env=self.env)
        self._wait_until_closed(dialog)

    def answer_yes(self):
        """Presses Yes in the question that is open."""
        dialog = self._wait_for_window("^" + DIALOG_TITLE + "$")
        xdotool("windowfocus", "--sync", dialog, env=self.env)
        xdotool("key", "alt+y", env=self.env)
        self._wait_until_closed(dialog)

    def close_message(self):
        dialog = self._wait_for_window("^" + DIALOG_TITLE + "$")
        xdotool("windowfocus", "--sync", dialog, env=self.env)
        xdotool("key", "Return", env=self.env)
        self._wait_until_closed(dialog)

    def saved_text(self):
        """Clicks "Output as delimited file" and returns the bytes it wrote."""
        path = os.path.join(self.home, "labfiles", "benchTablerOutput.txt")
        if os.path.exists(path):
            os.remove(path)
        self.click("Output as delimited file")
        deadline = time.time() + 10
        while time.time() < deadline:
            if os.path.exists(path):
                time.sleep(0.1)
                with open(path, "rb") as saved:
                    return saved.read()
            time.sleep(0.05)
        raise AssertionError("nothing was saved")

    def screenshot(self, path, window=None):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        crop = ["-crop", "1280x720+0+0"] if window == "root" else []
        subprocess.run(["import", "-window", window or self.window, *crop, "-strip", path],
                       env=self.env, check=True, timeout=30)

    def clipboard(self):
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                              capture_output=True, text=True, timeout=10).stdout

    def copy_graph_text(self, graph):
        """Clicks "Copy text", the last button at the graph window's bottom right,
        and returns what it copied."""
        geometry = dict(line.split("=") for line in
                        xdotool("getwindowgeometry", "--shell", graph, env=self.env).split())
        subprocess.run(["xclip", "-selection", "clipboard", "/dev/null"], env=self.env,
                       check=True, timeout=10)
        xdotool("mousemove", "--window", graph, str(int(geometry["WIDTH"]) - 40),
                str(int(geometry["HEIGHT"]) - 24), "click", "1", env=self.env)
        deadline = time.time() + 10
        while not self.clipboard():
            if time.time() > deadline:
                raise AssertionError("Copy text copied nothing")
            time.sleep(0.05)
        return self.clipboard()

    def close(self):
        self.program.terminate()
        self.program.wait(timeout=10)
        self.xvfb.terminate()
        self.xvfb.wait(timeout=10)
        shutil.rmtree(self.home, ignore_errors=True)


class EndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.app = BenchTablerWindow()

    @classmethod
    def tearDownClass(cls):
        cls.app.close()

    def test_0_starts_with_its_text_and_directory(self):
        self.app.screenshot(SCREENSHOT)
        self.assertEqual(self.app.saved_text(), b"Enter Data Here\r\n")

    def test_first_difference(self):
        self.app.type_into_box("1\n4\n9\n16")
        self.app.click("first difference")
        self.app.answer("1")
        self.assertEqual(self.app.saved_text(),
                         b"********  Differences are displayed below with original data **** 1\r\n"
                         b" 4, 3\r\n 9, 5\r\n 16, 7\r\n"
                         b"********  Differences are displayed below in a single column **** 3\r\n"
                         b" 5\r\n 7\r\n\r\n")

    def test_running_sum_closing_its_message(self):
        self.app.type_into_box("1\n2\n3\n4")
        self.app.click("Running Sum")
        self.app.answer("1")
        self.app.close_message()
        self.assertEqual(self.app.saved_text(),
                         b"********  Running Sums are displayed below with original data **** 1, 1"
                         b"\r\n 2, 3\r\n 3, 6\r\n 4, 10\r\n"
                         b"********  Running Sums are displayed below in a single column ****\r\n"
                         b" 1\r\n 3\r\n 6\r\n 10\r\n\r\n")

    def test_tab_delimiter_then_rows_to_columns(self):
        self.app.click("Change Delimiter")
        self.app.close_message()
        self.app.answer("2")
        try:
            self.app.type_into_box("1\t2\n3\t4")
            self.app.click("change rows to columns")
            self.assertEqual(self.app.saved_text(), b" 1\t 3\r\n 2\t 4\r\n\r\n")
        finally:
            self.app.click("Change Delimiter")
            self.app.close_message()
            self.app.answer("1")

    def test_mean_and_standard_deviation(self):
        self.app.type_into_box("2\n4\n4\n4\n5\n5\n7\n9")
        self.app.click("Mean and Standard Deviation")
        self.assertEqual(self.app.saved_text(),
                         b"2\r\n4\r\n4\r\n4\r\n5\r\n5\r\n7\r\n9\r\n\r\n\r\n"
                         b"There are  8 numbers in your distribution.\r\n"
                         b"Their sum is  40\r\n"
                         b"Their mean is  40/ 8 =  5.\r\n"
                         b"The (mean) average deviation from the mean is  1.5.\r\n"
                         b"The sum of the squared deviations is  32.\r\n"
                         b"The standard deviation is therefore sqrt( 32/( 8 - 1) ) =  2.138.\r\n"
                         b"\r\n")

    def test_experiment_calculation(self):
        self.app.type_into_box("ramp")
        self.app.click("experiment-specific calculations")
        self.app.answer("1")
        self.app.answer("122.5")
        self.app.answer("50")
        self.app.answer("1")
        self.assertEqual(self.app.saved_text(),
                         b"ramp\r\nfor drop height  122.5 cm, horizontal range  50 cm and  1 "
                         b"dominoes in the stack, the velocity of the ball should be  100 cm/s"
                         b"\r\n\r\n")

    def test_open_a_data_file_with_ctrl_o(self):
        path = os.path.join(self.app.home, "logger export.csv")
        with open(path, "wb") as data:
            data.write(b"t (s),x (cm)\n0,0\n0.5,12.5\n")
        self.app.type_into_box("old")
        xdotool("key", "ctrl+o", env=self.app.env)
        dialog = self.app._wait_for_window("^Open$")
        xdotool("windowfocus", "--sync", dialog, env=self.app.env)
        xdotool("type", "--delay", "5", path, env=self.app.env)
        xdotool("key", "Return", env=self.app.env)
        deadline = time.time() + 10
        while dialog in subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                        "^Open$"], env=self.app.env,
                                       capture_output=True, text=True).stdout.split():
            self.assertLess(time.time(), deadline, "the file dialog stayed open")
            time.sleep(0.05)
        # The name field's completion list may still hold the mouse for a moment after the
        # dialog closed, and would take the next click: click into the box first.
        time.sleep(0.2)
        self.app.click_at(*TEXT_BOX)
        self.assertEqual(self.app.saved_text(),
                         b"t (s),x (cm)\r\n0,0\r\n0.5,12.5\r\n\r\n")

    def graph_with_fit(self, box, item, screenshot, below=0, then=(), report=None):
        """Types the box (unless it is None), opens the graph and chooses the fit whose item begins
        with the given text (a blank would open the list), or stands `below`
        places under it: Alt+F goes to the fit list, typing picks the item.
        Then types the keys or texts in `then`, each a ("key", KEYS) or
        ("type", TEXT), and takes the screenshot; saves the lab report as
        the PDF `report` when given."""
        if box is not None:
            self.app.type_into_box(box)
        self.app.click("Graph")
        graph = self.app._wait_for_window("^Bench Tabler - Graph$")
        xdotool("windowfocus", "--sync", graph, env=self.app.env)
        time.sleep(0.3)  # the first column list takes the focus once the window is shown
        xdotool("key", "alt+f", env=self.app.env)
        xdotool("type", "--delay", "5", item, env=self.app.env)
        for _ in range(below):
            xdotool("key", "Down", env=self.app.env)
        for action, what in then:
            xdotool(action, *(["--delay", "5"] if action == "type" else []), what, env=self.app.env)
        time.sleep(0.5)
        self.app.screenshot(screenshot, graph)
        if report:
            self.save_report(report)
            xdotool("windowfocus", "--sync", graph, env=self.app.env)
        xdotool("key", "ctrl+w", env=self.app.env)
        # Gone before the next test clicks where it stood, over the main window.
        self.app._wait_until_closed(graph, "^Bench Tabler - Graph$")
        self.assertTrue(os.path.getsize(screenshot) > 0)

    def save_report(self, path):
        """Types a group's name into "name" (Alt+N), goes on to "Save report..." and
        saves the report through the file dialog."""
        xdotool("key", "alt+n", env=self.app.env)
        xdotool("key", "ctrl+a", env=self.app.env)
        xdotool("type", "--delay", "5", "Group 3", env=self.app.env)
        xdotool("key", "Tab", env=self.app.env)
        xdotool("key", "space", env=self.app.env)
        dialog = self.app._wait_for_window("^Save report$")
        xdotool("windowfocus", "--sync", dialog, env=self.app.env)
        xdotool("key", "ctrl+a", env=self.app.env)
        xdotool("type", "--delay", "5", path, env=self.app.env)
        xdotool("key", "Return", env=self.app.env)
        self.app._wait_until_closed(dialog, "^Save report$")
        deadline = time.time() + 10
        while not os.path.exists(path):
            self.assertLess(time.time(), deadline, "no report was saved")
            time.sleep(0.05)

    def test_graph_of_a_falling_ball_with_its_fit(self):
        # Speed of a falling ball from a light gate, every 50 ms: g is the slope.
        self.graph_with_fit("t (s),v (m/s)\n0,0.02\n0.05,0.47\n0.1,1.00\n0.15,1.46\n"
                            "0.2,1.98\n0.25,2.44\n0.3,2.95\n0.35,3.45\n0.4,3.91\n"
                            "0.45,4.43\n0.5,4.92", "straight", GRAPH_SCREENSHOT)

    def test_cooling_curve_with_an_exponential_fit(self):
        # A cup of tea cooling towards the room's 21 °C, read every minute.
        self.graph_with_fit("t (s),T (°C)\n0,80.1\n60,64.6\n120,53.1\n180,44.6\n240,38.4\n"
                            "300,33.6\n360,30.3\n420,27.7\n480,25.9\n540,24.5\n600,23.4\n"
                            "660,22.8\n720,22.2", "exponential", FIT_SCREENSHOT, below=1)

    def test_pendulum_with_error_bars_and_the_steepest_and_shallowest_lines(self):
        # Periods of a pendulum timed to ±0.02 s, lengths 0.50 m to 0.70 m.
        # From the fit list: past from, to and residuals to the result field,
        # emptied of what an earlier graph left there, past the x uncertainty
        # list to the y uncertainty list; "f" picks "fixed value", whose field
        # comes next.
        keys = [("key", "Tab")] * 4 + [("key", "ctrl+a"), ("key", "BackSpace"), ("key", "Tab"),
                                       ("key", "Tab")] + [("type", "f"), ("key", "Tab"), ("type", "0.02"),
                                        ("key", "Tab"), ("key", "space")]
        self.graph_with_fit("L (m),T (s)\n0.50,1.42\n0.55,1.49\n0.60,1.55\n0.65,1.62\n"
                            "0.70,1.68", "straight", ERROR_BARS_SCREENSHOT, then=keys)

    def test_g_from_a_pendulum_with_uncertainties_carried_through(self):
        # T timed to ±0.02 s: calculate column gives T² and u(T²) = 2 T u(T); the
        # graph plots T² against L with those error bars, and g = 4π²/m.
        self.app.type_into_box("L (m),T (s),u(T) (s)\n0.20,0.90,0.02\n0.40,1.27,0.02\n"
                               "0.60,1.55,0.02\n0.80,1.80,0.02\n1.00,2.01,0.02")
        self.app.click("calculate column")
        self.app.answer("T^2")
        self.assertEqual(self.app.saved_text(),
                         b"L (m),T (s),u(T) (s),T^2 (s^2),u(T^2) (s^2)\r\n0.20,0.90,0.02, .81, .036\r\n"
                         b"0.40,1.27,0.02, 1.613, .0508\r\n0.60,1.55,0.02, 2.403, .062\r\n"
                         b"0.80,1.80,0.02, 3.24, .072\r\n1.00,2.01,0.02, 4.040, .0804\r\n")
        # y is T² (typing picks it in the list), its error bars come with it;
        # the result field takes g.
        keys = [("key", "alt+y"), ("type", "T^"), ("key", "alt+u"), ("type", "4*pi^2/m"),
                ("key", "Return")]
        report = os.path.join(self.app.home, "pendulum report.pdf")
        self.graph_with_fit(None, "straight", PENDULUM_G_SCREENSHOT, then=keys, report=report)
        text = subprocess.run(["pdftotext", "-layout", report, "-"], capture_output=True,
                              text=True, check=True).stdout
        lines = [" ".join(line.split()) for line in text.splitlines()]
        self.assertTrue(lines[1].startswith("Group 3 - "), lines[:2])
        for line in ("4*pi^2/m = 9.78 ± 0.22 m/s^2", "row L (m) T^2 (s^2) u(T^2) (s^2)",
                     "5 1.00 4.040 .0804",
                     "page 1 of 1"):
            self.assertIn(line, lines)
        # Page 1 at 100 dots per inch, for the README.
        subprocess.run(["pdftoppm", "-r", "100", "-f", "1", "-l", "1", "-singlefile", "-png",
                        report, REPORT_IMAGE[:-len(".png")]], check=True, timeout=30)

    def graph_plotting(self, kind):
        """Opens the graph and chooses the plot kind its letter picks in the
        list "plot" (Alt+P); the graph window."""
        self.app.click("Graph")
        graph = self.app._wait_for_window("^Bench Tabler - Graph$")
        xdotool("windowfocus", "--sync", graph, env=self.app.env)
        time.sleep(0.3)
        xdotool("key", "alt+p", env=self.app.env)
        xdotool("type", kind, env=self.app.env)
        time.sleep(0.5)
        return graph

    def test_histogram_of_fifty_reaction_times(self):
        # A ruler dropped fifty times and caught: the reaction times in seconds.
        self.app.type_into_box("\n".join(["reaction time t (s)"] + REACTION_TIMES))
        graph = self.graph_plotting("h")  # histogram
        self.app.screenshot(HISTOGRAM_SCREENSHOT, graph)
        xdotool("key", "ctrl+w", env=self.app.env)
        self.app._wait_until_closed(graph, "^Bench Tabler - Graph$")
        self.assertTrue(os.path.getsize(HISTOGRAM_SCREENSHOT) > 0)

    def test_spreadsheet_rows_pasted_through_the_clipboard(self):
        # Rows copied from a spreadsheet set to a decimal comma: tabs between
        # the fields, commas in the decimals, Windows line breaks.
        # xclip stays to serve the clipboard until the X server ends.
        subprocess.run(["xclip", "-selection", "clipboard"], env=self.app.env, check=True,
                       input=b"0,5\t1,294\r\n1,0\t2,5\r\n", stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=10)
        self.app.type_into_box("t (s)\tx (m)\n")
        xdotool("key", "ctrl+v", env=self.app.env)
        self.app.answer_yes()  # make the tab the delimiter
        self.app.answer_yes()  # decimal commas become points
        try:
            self.assertEqual(self.app.saved_text(),
                             b"t (s)\tx (m)\r\n0.5\t1.294\r\n1.0\t2.5\r\n\r\n")
        finally:
            self.app.click("Change Delimiter")
            self.app.close_message()
            self.app.answer("1")

    def test_record_from_a_board_into_the_box_and_the_graph(self):
        # A board on a pseudo-terminal prints a damped spring's position.
        master, slave = pty.openpty()
        tty.setraw(slave)
        device = os.ttyname(slave)
        try:
            # Without a window manager each window opens over the main one: each
            # is moved aside before the next button is clicked.
            self.app.type_into_box("")
            self.app.click("record data")
            record = self.app._wait_for_window("^Bench Tabler - Record$")
            xdotool("windowmove", "--sync", record, "0", "570", env=self.app.env)
            self.app.click("Graph")
            graph = self.app._wait_for_window("^Bench Tabler - Graph$")
            xdotool("windowmove", "--sync", graph, "540", "0", env=self.app.env)
            xdotool("windowsize", "--sync", graph, "740", "560", env=self.app.env)
            xdotool("windowfocus", "--sync", record, env=self.app.env)
            xdotool("key", "alt+s", "ctrl+a", env=self.app.env)
            xdotool("type", "--delay", "5", device, env=self.app.env)
            xdotool("key", "Return", env=self.app.env)
            time.sleep(0.5)
            for i in range(400):
                t = i * 0.025
                os.write(master, ("t:%.3f,x:%.4f\r\n"
                                  % (t, 5 * math.exp(-t / 4) * math.cos(2 * math.pi * t / 1.6)))
                         .encode())
            time.sleep(1.0)
            self.app.screenshot(RECORD_SCREENSHOT, "root")
            xdotool("windowfocus", "--sync", record, env=self.app.env)
            xdotool("key", "alt+s", "Return", env=self.app.env)  # Enter stops too
            time.sleep(0.3)
            saved = self.app.saved_text()
            self.assertTrue(saved.startswith(b"run 1\r\nt,x\r\n0.000,5.0000\r\n"), saved[:40])
            self.assertEqual(saved.count(b"\r\n"), 402)  # the heading, the header, 400 rows
            for window in (record, graph):
                xdotool("windowfocus", "--sync", window, env=self.app.env)
                xdotool("key", "ctrl+w", env=self.app.env)
                self.app._wait_until_closed(window, ".")
        finally:
            os.close(master)
            os.close(slave)

    def test_distance_and_acceleration_from_a_speed_graph(self):
        # A cart pushed and braked: v = 2 sin(pi t / 3) m/s, read every 0.1 s.
        rows = ["t (s),v (m/s)"] + ["%.1f,%.3f" % (i / 10, 2 * math.sin(math.pi * i / 30))
                                    for i in range(31)]
        self.app.type_into_box("\n".join(rows))
        self.app.click("Graph")
        graph = self.app._wait_for_window("^Bench Tabler - Graph$")
        xdotool("windowfocus", "--sync", graph, env=self.app.env)
        time.sleep(0.3)
        xdotool("key", "alt+f", env=self.app.env)  # the fit list; its range fields follow it
        for field in ("0.5", "2.5"):
            xdotool("key", "Tab", env=self.app.env)
            xdotool("type", "--delay", "5", field, env=self.app.env)
        xdotool("key", "Tab", env=self.app.env)
        xdotool("key", "alt+a", env=self.app.env)  # area
        xdotool("key", "alt+g", env=self.app.env)  # tangent at x =
        xdotool("type", "--delay", "5", "1", env=self.app.env)
        xdotool("key", "Return", env=self.app.env)
        time.sleep(0.5)
        text = self.app.copy_graph_text(graph)
        # distance: 6/pi (cos(pi/6) - cos(5 pi/6)) = 3.308 m; acceleration at
        # 1 s: 2 pi/3 cos(pi/3) = 1.047 m/s²
        self.assertIn("area = 3.30", text)
        self.assertIn(" m from x = 0.5 to 2.5 (21 rows, trapezoid rule", text)
        # the parabola through 0.7 to 1.3 s misses the sine's third derivative:
        # 1.034, the difference from a cubic's slope in its uncertainty
        self.assertIn("tangent at x = 1: slope = 1.03", text)
        self.assertIn("m/s/s (parabola through the 7 nearest rows", text)
        self.assertIn("from the curve's shape ± 0.01", text)
        self.assertIn("y over x = 0.5 to 2.5 s: N = 21", text)
        self.app.screenshot(AREA_SCREENSHOT, graph)
        xdotool("windowfocus", "--sync", graph, env=self.app.env)
        xdotool("key", "ctrl+w", env=self.app.env)
        self.app._wait_until_closed(graph, "^Bench Tabler - Graph$")

    def test_pitch_of_a_tuning_fork_from_its_sound_file(self):
        # A fork struck over a microphone: 440 Hz dying away, with hiss, one
        # second at 8000 samples a second, as a sound recorder saves it.
        path = os.path.join(self.app.home, "tuning fork.wav")
        samples = bytearray()
        for i in range(8000):
            t = i / 8000
            hiss = 0.01 * math.sin(i * i * 0.731)
            value = 0.6 * math.exp(-t / 0.7) * math.sin(2 * math.pi * 440 * t) + hiss
            samples += int(value * 32767).to_bytes(2, "little", signed=True)
        with wave.open(path, "wb") as sound:
            sound.setnchannels(1)
            sound.setsampwidth(2)
            sound.setframerate(8000)
            sound.writeframes(bytes(samples))
        self.app.click_at(*TEXT_BOX)  # the window takes Ctrl+O
        xdotool("key", "ctrl+o", env=self.app.env)
        dialog = self.app._wait_for_window("^Open$")
        xdotool("windowfocus", "--sync", dialog, env=self.app.env)
        xdotool("type", "--delay", "5", path, env=self.app.env)
        xdotool("key", "Return", env=self.app.env)
        self.app.close_message()  # 8001 lines: the commands use the first 1000
        graph = self.graph_plotting("s")  # spectrum
        text = self.app.copy_graph_text(graph)
        self.assertIn("Spectrum of left, Hann window, mean removed: sample rate 8000 Hz, "
                      "8000 samples, resolution Δf = 1.000 Hz", text)
        self.assertIn("peak at 440.00", text)
        self.app.screenshot(SPECTRUM_SCREENSHOT, graph)
        xdotool("windowfocus", "--sync", graph, env=self.app.env)
        xdotool("key", "ctrl+w", env=self.app.env)
        self.app._wait_until_closed(graph, "^Bench Tabler - Graph$")

    def test_declined_prompt_leaves_the_box_unchanged(self):
        self.app.type_into_box("5\n2")
        self.app.click("first difference")
        self.app.answer("2")
        self.app.click("Difference Quotient")
        self.app.answer("")
        self.assertEqual(self.app.saved_text(), b"5\r\n2\r\n")


def pendulum_runs():
    """Five lengths of a pendulum, each run under its heading: x in cm every
    0.1 s, with a reading's wobble of 0.05 cm."""
    lines = []
    for run, length in enumerate((0.30, 0.50, 0.70, 0.90, 1.10)):
        lines += [""] if run else []
        lines += ["L = %.2f m" % length, "t (s),x (cm)"]
        omega = math.sqrt(9.81 / length)
        lines += ["%.1f,%.2f" % (i / 10, 5 * math.sin(omega * i / 10 + 0.3)
                                 + 0.05 * math.sin(7.3 * i + run)) for i in range(41)]
    return "\n".join(lines) + "\n"


class Sessions(unittest.TestCase):
    """A lab saved whole and opened again: the box, the graph and its fit."""

    def test_five_runs_fitted_saved_and_opened_again(self):
        app = BenchTablerWindow(start=False)
        try:
            data = os.path.join(app.home, "pendulum.csv")
            with open(data, "w") as runs:
                runs.write(pendulum_runs())
            app.start_program(file=data)
            time.sleep(0.5)
            app.click("Graph")
            graph = app._wait_for_window("^Bench Tabler - Graph")
            xdotool("windowfocus", "--sync", graph, env=app.env)
            time.sleep(0.3)
            xdotool("key", "alt+d", env=app.env)
            xdotool("type", "--delay", "5", "all", env=app.env)
            xdotool("key", "alt+f", env=app.env)
            xdotool("type", "--delay", "5", "sine", env=app.env)
            time.sleep(0.8)
            fitted = app.copy_graph_text(graph)
            self.assertIn("Fit y = A sin(B x + C) + D, each run on its own:", fitted)
            for length in ("0.30", "0.50", "0.70", "0.90", "1.10"):
                self.assertIn("L = %s m\t" % length, fitted)

            session = os.path.join(app.home, "pendulum lab.btsession")
            xdotool("windowfocus", "--sync", app.window, env=app.env)
            xdotool("key", "ctrl+s", env=app.env)
            dialog = app._wait_for_window("^Save session$")
            xdotool("windowfocus", "--sync", dialog, env=app.env)
            xdotool("key", "ctrl+a", env=app.env)
            xdotool("type", "--delay", "5", session, env=app.env)
            xdotool("key", "Return", env=app.env)
            app._wait_until_closed(dialog, "^Save session$")
            deadline = time.time() + 10
            while not os.path.exists(session):
                self.assertLess(time.time(), deadline, "no session was saved")
                time.sleep(0.05)
            xdotool("windowfocus", "--sync", app.window, env=app.env)
            xdotool("key", "ctrl+q", env=app.env)  # saved: no question, the program ends
            app.program.wait(timeout=10)

            app.start_program(file=session)
            graph = app._wait_for_window("^Bench Tabler - Graph")
            time.sleep(0.8)
            self.assertEqual(app.copy_graph_text(graph), fitted)
            app.screenshot(RUNS_SCREENSHOT, graph)
            xdotool("windowfocus", "--sync", graph, env=app.env)
            xdotool("key", "ctrl+w", env=app.env)  # off the main window's buttons
            app._wait_until_closed(graph, "^Bench Tabler - Graph")
            app.click_at(*TEXT_BOX)
            self.assertEqual(app.saved_text(),
                             pendulum_runs().replace("\n", "\r\n").encode() + b"\r\n")
        finally:
            app.close()


class CrashRecovery(unittest.TestCase):
    """A program killed outright (a crash, a power cut) loses nothing."""

    def test_a_killed_program_offers_its_text_back_at_the_next_start(self):
        app = BenchTablerWindow()
        try:
            app.type_into_box("t (s),x (m)\n0,1.5\n1,2.5")
            recovery = os.path.join(app.home, "labfiles",
                                    ".recovery-%d.txt" % app.program.pid)
            deadline = time.time() + 20  # written within 10 s of the typing
            while not os.path.exists(recovery):
                self.assertLess(time.time(), deadline, "no recovery file was written")
                time.sleep(0.2)
            app.program.kill()  # SIGKILL: no closing, no saving
            app.program.wait(timeout=10)
            question = app.start_program("^" + DIALOG_TITLE + "$")
            xdotool("windowfocus", "--sync", question, env=app.env)
            xdotool("key", "Return", env=app.env)  # Yes, put it back
            app._wait_until_closed(question)
            app.window = app._wait_for_window("^Form1$")
            self.assertEqual(app.saved_text(), b"t (s),x (m)\r\n0,1.5\r\n1,2.5\r\n")
            self.assertFalse(os.path.exists(recovery))
        finally:
            app.close()


if __name__ == "__main__":
    if len(sys.argv) < 13:
        sys.exit(__doc__)
    (PROGRAM, SCREENSHOT, GRAPH_SCREENSHOT, FIT_SCREENSHOT, ERROR_BARS_SCREENSHOT,
     PENDULUM_G_SCREENSHOT, RECORD_SCREENSHOT, REPORT_IMAGE, HISTOGRAM_SCREENSHOT,
     RUNS_SCREENSHOT, AREA_SCREENSHOT, SPECTRUM_SCREENSHOT) = sys.argv[1:13]
    for tool in ("Xvfb", "xdotool", "xclip", "import", "pdftotext", "pdftoppm"):
        if not shutil.which(tool):
            sys.exit(tool + " is missing: the set-up step installs it")
    unittest.main(argv=sys.argv[:1] + sys.argv[13:], verbosity=2)  # then names of tests to run
