"""The release files end to end: the setup program and the zip that
scripts/package.sh makes from the Windows build (in <win build>/release).

The installer runs under Wine as a user would run it: silently in a fresh
prefix, then the installed QUILX.EXE plays a demonstration hot key into the
target program; Setup and the uninstaller refuse while a copy runs; an
upgrade keeps the user's macro file; the silent uninstaller removes the
program and keeps the user's files; the uninstaller's page removes those
too when its box is ticked. The zip unpacked into a fresh folder runs the
same way. The version resources of the shipped files carry VERSION."""

import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile
from pathlib import Path

import harness
import pe_version
from harness import REPO, WineSession

VERSION = (REPO / "VERSION").read_text().strip()
RELEASE = harness.win_build() / "release"
SETUP_NAME = f"Quillon98-{VERSION}-setup.exe"
ZIP_NAME = f"Quillon98-{VERSION}-win64.zip"
DIST = harness.win_build() / "dist"
PROGRAMS = ("QUILX.EXE", "QLXHOOK.DLL", "QLXFILE.EXE")
RECORD_SIZE = 5165
SYSTEM_MACROS = 4
SCREENS = harness.WINE_ROOT / "screens"

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon 98"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Quillon 98"
RUNNING_TEXT = ("Quillon 98 is running.\r\n\r\nClose it first (File, Terminate Quillon 98 in its "
                "window, or Terminate and Unload in the menu of its tray icon), then click Retry. "
                "Cancel leaves Quillon 98 as it is.")
REMOVE_BOX = "Also remove my macro files, key-remap files, sync files and settings"
ABORTED = 2                      # the installer's exit code when it refuses
UNINSTALLER_COPY = "un.exe"      # the uninstaller's working copy of itself
MAIN_TITLE = "Quillon 98 (QUILX)"
SIGNATURE_KEY = "ctrl+alt+s"
SIGNATURE = "Kind regards,\r\nRobin Example\r\nQuillon 98 demonstration"


def version_numbers() -> tuple[int, int, int, int]:
    major, minor, patch = (int(n) for n in VERSION.split("."))
    return major, minor, patch, 0


def require_release() -> None:
    harness.require_build("dist/QUILX.EXE", "dist/QLXHOOK.DLL", "dist/QLXFILE.EXE",
                          "dist/DEMO.QLX", f"release/{SETUP_NAME}", f"release/{ZIP_NAME}",
                          "testprogs/target.exe", "testprogs/wintool.exe",
                          "testprogs/keepwarm.exe")


def stripped(path: Path) -> bytes:
    with tempfile.TemporaryDirectory() as tmp:
        out = Path(tmp) / path.name
        subprocess.run(["x86_64-w64-mingw32-strip", "-o", str(out), str(path)], check=True)
        return out.read_bytes()


def link_stamp(data: bytes) -> int:
    """The time stamp of a PE file's header."""
    return struct.unpack_from("<I", data, struct.unpack_from("<I", data, 0x3C)[0] + 8)[0]


def without_stamp(data: bytes) -> bytes:
    """The file with its header's time stamp and the check sum over it zeroed."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    out = bytearray(data)
    out[pe + 8:pe + 12] = bytes(4)
    out[pe + 24 + 64:pe + 24 + 68] = bytes(4)
    return bytes(out)


# --- the Windows side of a session ---------------------------------------------

def reg_values(s: WineSession, key: str) -> dict[str, str] | None:
    """The values of a registry key (name -> data as `reg query` prints it);
    None when the key does not exist."""
    r = s.run(s.windows_dir() / "system32" / "reg.exe", ["query", key])
    if r.returncode != 0:
        return None
    values = {}
    for line in r.stdout.splitlines():
        m = re.match(r"^ {4}(.+?) {4}REG_[A-Z_]+(?: {4}(.*))?$", line)
        if m:
            values[m.group(1)] = m.group(2) or ""
    return values


def host_path(s: WineSession, windows_path: str) -> Path:
    """The file behind a C:\\ path of the session's prefix."""
    drive, _, rest = windows_path.partition(":\\")
    if drive.upper() != "C":
        raise ValueError(f"not on drive C: {windows_path}")
    return s.prefix / "drive_c" / Path(*rest.split("\\"))


def user_profile(s: WineSession) -> Path:
    users = [d for d in (s.prefix / "drive_c" / "users").iterdir()
             if d.is_dir() and d.name.lower() != "public"]
    if len(users) != 1:
        raise AssertionError(f"one user profile expected, found {[d.name for d in users]}")
    return users[0]


def install_dir(s: WineSession) -> Path:
    """The user's local programs folder, where Setup installs by default."""
    return user_profile(s) / "AppData" / "Local" / "Programs" / "Quillon 98"


def shortcut(s: WineSession) -> Path:
    return (user_profile(s) / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu"
            / "Programs" / "Quillon 98.lnk")


def read_shortcut(path: Path) -> tuple[str, str]:
    """(target, working folder) of a shell link."""
    data = path.read_bytes()
    if struct.unpack_from("<I", data, 0)[0] != 0x4C:
        raise AssertionError(f"{path} is no shell link")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    pos = 0x4C
    if flags & 0x01:                                   # target id list
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    if not flags & 0x02:
        raise AssertionError(f"{path} has no link information")
    info_size, _, _, _, base_offset = struct.unpack_from("<5I", data, pos)
    target = data[pos + base_offset:data.index(b"\0", pos + base_offset)].decode("cp1252")
    pos += info_size
    unicode = bool(flags & 0x80)
    strings = {}
    for bit, name in ((0x04, "name"), (0x08, "relative"), (0x10, "folder"),
                      (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, pos)[0]
            size = count * (2 if unicode else 1)
            raw = data[pos + 2:pos + 2 + size]
            strings[name] = raw.decode("utf-16-le" if unicode else "cp1252").rstrip("\0")
            pos += 2 + size
    return target, strings.get("folder", "")


def wait_uninstaller_ended(s: WineSession, timeout: float = 60) -> None:
    """The uninstaller works from a copy of itself in the temporary folder,
    started before its own process ends at once: wait for the copy."""
    s.wait_until(lambda: not any(exe.lower() == UNINSTALLER_COPY for _, exe in s.processes()),
                 timeout, what="the uninstaller to end")


def uninstall_silently(testcase: unittest.TestCase, s: WineSession, uninstaller: Path) -> None:
    testcase.assertEqual(s.run(uninstaller, ["/S"], timeout=60).returncode, 0)
    wait_uninstaller_ended(s)


def play_signature(testcase: unittest.TestCase, s: WineSession, exe: Path) -> tuple:
    """Starts a program folder's QUILX.EXE, which must open the demonstration
    macros beside it: its Ctrl+Alt+S types the signature into the target, and
    the program adds its system macros to the file. Returns the running
    program and its main window."""
    macro_file = exe.parent / "QUILX.QLX"
    demo = (DIST / "DEMO.QLX").read_bytes()
    testcase.assertEqual(macro_file.read_bytes(), demo)
    proc, wid = s.start_quilx(exe=exe)
    t = s.start_target("Quillon Release Target")
    s.key(SIGNATURE_KEY)
    t.wait_text(SIGNATURE, 20)
    s.wait_playback_done()
    s.close_target(t)
    demo_records = len(demo) // RECORD_SIZE
    s.wait_until(lambda: macro_file.stat().st_size == (demo_records + SYSTEM_MACROS) * RECORD_SIZE,
                 10, what="the system macros added to QUILX.QLX")
    testcase.assertEqual(macro_file.read_bytes()[:len(demo)], demo)
    return proc, wid


def quit_quilx(s: WineSession, proc) -> None:
    s.post_close(MAIN_TITLE)
    s.wait_exit(proc, 20)


# --- the cases -------------------------------------------------------------------

class ReleaseFiles(unittest.TestCase):
    """What the release files hold, read without Wine."""

    def setUp(self):
        require_release()

    def test_the_release_folder_holds_one_setup_and_one_zip_named_with_the_version(self):
        self.assertEqual(sorted(p.name for p in RELEASE.glob("Quillon98-*-setup.exe")), [SETUP_NAME])
        self.assertEqual(sorted(p.name for p in RELEASE.glob("Quillon98-*.zip")), [ZIP_NAME])

    def test_every_shipped_program_carries_the_release_version(self):
        with zipfile.ZipFile(RELEASE / ZIP_NAME) as z, tempfile.TemporaryDirectory() as tmp:
            z.extractall(tmp)
            files = [(f"dist/{name}", DIST / name, name) for name in PROGRAMS]
            files += [(f"zip/{name}", Path(tmp) / name, name) for name in PROGRAMS]
            files.append(("setup", RELEASE / SETUP_NAME, None))
            for label, path, original in files:
                with self.subTest(label):
                    info = pe_version.read_version(path)
                    self.assertEqual(info.file_version, version_numbers())
                    self.assertEqual(info.product_version, version_numbers())
                    self.assertEqual(info.strings.get("FileVersion"), VERSION)
                    self.assertEqual(info.strings.get("ProductVersion"), VERSION)
                    self.assertEqual(info.strings.get("ProductName"), "Quillon 98")
                    if original:
                        self.assertEqual(info.strings.get("OriginalFilename"), original)
                        self.assertEqual(info.file_type, 2 if original.endswith(".DLL") else 1)
                    if original == "QUILX.EXE":
                        # The manifest names the program's version as well.
                        manifest = pe_version.read_manifest(path)
                        self.assertRegex(manifest, r'name="Quillon98\.QUILX" version="'
                                         + re.escape(".".join(map(str, version_numbers()))) + '"')

    def test_the_zip_holds_this_builds_program_folder_with_the_demo_as_macro_file(self):
        with zipfile.ZipFile(RELEASE / ZIP_NAME) as z:
            names = set(z.namelist())
            expected = {p.relative_to(DIST).as_posix() + ("/" if p.is_dir() else "")
                        for p in DIST.rglob("*")}
            self.assertEqual(names, expected | {"QUILX.QLX", "README.TXT"})
            for name in PROGRAMS:
                with self.subTest(name):
                    # Stripped in the zip, with the link time of the build's
                    # copy, which keeps the symbols.
                    shipped, built = z.read(name), (DIST / name).read_bytes()
                    self.assertEqual(without_stamp(shipped), without_stamp(stripped(DIST / name)))
                    self.assertEqual(link_stamp(shipped), link_stamp(built))
                    self.assertLess(len(shipped), len(built))
                    self.assertEqual((RELEASE / f"Quillon98-{VERSION}-symbols" / name).read_bytes(),
                                     built)
            demo = (DIST / "DEMO.QLX").read_bytes()
            self.assertEqual(z.read("DEMO.QLX"), demo)
            self.assertEqual(z.read("QUILX.QLX"), demo)
            readme = z.read("README.TXT").decode("cp1252")
        self.assertNotIn("@", readme)
        self.assertIn(f"Quillon 98 {VERSION}", readme.splitlines()[0])
        self.assertIn(SETUP_NAME, readme)
        self.assertIn(ZIP_NAME, readme)
        self.assertEqual(readme.count("\n"), readme.count("\r\n"), "line ends are CR LF")
        host_tool = harness.win_build() / "host" / "tools" / "qlxfile"
        dumped = subprocess.run([str(host_tool), "dump", str(DIST / "DEMO.QLX")], check=True,
                                capture_output=True, text=True).stdout
        keys = re.findall(r"^activation: (.+)$", dumped, re.M)
        names = re.findall(r"^nickname: (.+)$", dumped, re.M)
        self.assertEqual(len(keys), len(demo) // RECORD_SIZE)
        for key, name in zip(keys, names):
            self.assertRegex(readme, rf"\n +{re.escape(key)} +{re.escape(name)}\r\n")


class Installer(unittest.TestCase):
    """One prefix through install, use, refusals, upgrade and uninstall, in
    the order a user meets them."""

    @classmethod
    def setUpClass(cls):
        require_release()
        SCREENS.mkdir(parents=True, exist_ok=True)
        cls.setup = RELEASE / SETUP_NAME
        cls.s = WineSession(name="release")
        cls.quilx = None

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def install(self, *args) -> int:
        return self.s.run(self.setup, ["/S", *args], timeout=120).returncode

    def test_1_silent_install_places_the_program_shortcut_and_uninstall_entry(self):
        s = self.s
        self.assertEqual(self.install(), 0)
        inst = install_dir(s)
        with zipfile.ZipFile(RELEASE / ZIP_NAME) as z:
            for name in z.namelist():
                with self.subTest(name):
                    path = inst / name
                    if name.endswith("/"):
                        self.assertTrue(path.is_dir())
                    else:
                        self.assertEqual(path.read_bytes(), z.read(name), "same file as the zip's")
        self.assertTrue((inst / "Uninstall.exe").is_file())
        # The help pages come along; Help > Contents opens this one.
        self.assertIn("<h1>Quillon 98 Help</h1>", (inst / "Help" / "contents.htm").read_text())

        target, folder = read_shortcut(shortcut(s))
        self.assertEqual(host_path(s, target), inst / "QUILX.EXE")
        self.assertEqual(host_path(s, folder), inst)

        entry = reg_values(s, UNINSTALL_KEY)
        self.assertIsNotNone(entry)
        self.assertEqual(entry["DisplayName"], "Quillon 98")
        self.assertEqual(entry["DisplayVersion"], VERSION)
        self.assertEqual(host_path(s, entry["InstallLocation"]), inst)
        uninstaller = entry["UninstallString"]
        self.assertEqual(host_path(s, uninstaller.strip('"')), inst / "Uninstall.exe")
        self.assertEqual(entry["QuietUninstallString"], f"{uninstaller} /S")
        # Start with Windows only when asked.
        self.assertNotIn(RUN_VALUE, reg_values(s, RUN_KEY) or {})

    def test_2_the_installed_program_starts_on_the_demo_and_plays_a_hot_key(self):
        cls = type(self)
        cls.quilx = play_signature(self, self.s, install_dir(self.s) / "QUILX.EXE")

    def test_3_setup_and_uninstaller_refuse_while_the_program_runs(self):
        s = self.s
        self.assertIsNotNone(self.quilx, "the installed program is not running")
        inst = install_dir(s)
        readme = inst / "README.TXT"
        readme.write_bytes(readme.read_bytes() + b"a note of the user's\r\n")
        before = {p: p.read_bytes() for p in inst.iterdir() if p.is_file()}

        self.assertEqual(self.install(), ABORTED)

        # Shown, Setup says why and waits for Retry or Cancel.
        proc = s.start(self.setup)
        box = s.wait_until(lambda: s.find_windows(exe=SETUP_NAME, cls="#32770"), 30,
                           what="the running-copy message")[0]
        texts = [text for _, text in s.window_texts(box.hwnd)]
        self.assertIn(RUNNING_TEXT, texts)
        s.screenshot(SCREENS / "release-setup-running.png")
        s.click_button(box.hwnd, "Cancel")
        self.assertEqual(s.wait_exit(proc, 20), ABORTED)

        # The uninstaller too, shown and silent.
        s.start(inst / "Uninstall.exe")
        box = s.wait_until(lambda: s.find_windows(exe=UNINSTALLER_COPY, cls="#32770"), 30,
                           what="the uninstaller's running-copy message")[0]
        self.assertIn(RUNNING_TEXT, [text for _, text in s.window_texts(box.hwnd)])
        s.click_button(box.hwnd, "Cancel")
        wait_uninstaller_ended(s)
        uninstall_silently(self, s, inst / "Uninstall.exe")

        self.assertEqual({p: p.read_bytes() for p in inst.iterdir() if p.is_file()}, before)
        self.assertIsNotNone(reg_values(s, UNINSTALL_KEY))
        self.assertTrue(shortcut(s).exists())

    def test_4_an_upgrade_keeps_the_users_macro_file_and_can_start_with_windows(self):
        s = self.s
        inst = install_dir(s)
        self.assertIsNotNone(self.quilx, "the installed program is not running")
        quit_quilx(s, self.quilx[0])
        type(self).quilx = None
        users = (inst / "QUILX.QLX").read_bytes()
        self.assertNotEqual(users, (DIST / "DEMO.QLX").read_bytes())

        self.assertEqual(self.install("/AUTOSTART"), 0)
        self.assertEqual((inst / "QUILX.QLX").read_bytes(), users)
        command = (reg_values(s, RUN_KEY) or {}).get(RUN_VALUE, "")
        # Quoted: the folder's name holds a blank.
        self.assertRegex(command, r'^"[^"]+"$')
        self.assertEqual(host_path(s, command.strip('"')), inst / "QUILX.EXE")

        # A silent upgrade without the switch keeps that choice.
        self.assertEqual(self.install(), 0)
        self.assertIn(RUN_VALUE, reg_values(s, RUN_KEY) or {})

    def test_5_the_silent_uninstaller_removes_the_program_and_keeps_the_users_files(self):
        s = self.s
        inst = install_dir(s)
        users = {"QUILX.QLX": (inst / "QUILX.QLX").read_bytes(),
                 "DEMO.QLX": (DIST / "DEMO.QLX").read_bytes(),
                 "QUILX.QLS": b"\x01" * 93, "QUILX.MAS": b"\x02" * 14}
        for name in ("QUILX.QLS", "QUILX.MAS"):
            (inst / name).write_bytes(users[name])
        settings = s.windows_dir() / "QUILX.INI"
        self.assertTrue(settings.is_file(), "the program wrote no settings file")

        entry = reg_values(s, UNINSTALL_KEY)
        uninstall_silently(self, s, host_path(s, entry["UninstallString"].strip('"')))

        self.assertEqual({p.name: p.read_bytes() for p in inst.iterdir()}, users)
        self.assertFalse(shortcut(s).exists())
        self.assertNotIn(RUN_VALUE, reg_values(s, RUN_KEY) or {})
        self.assertTrue(settings.is_file())

    def test_6_the_uninstallers_box_removes_the_users_files_too(self):
        s = self.s
        inst = install_dir(s)
        self.assertEqual(self.install(), 0)
        self.assertEqual((inst / "QUILX.QLS").read_bytes(), b"\x01" * 93)
        # The settings of a user who could not write the Windows folder.
        roaming = [p for p in (s.prefix / "drive_c" / "users").glob("*/AppData/Roaming")
                   if p.parts[-3] != "Public"]
        self.assertEqual(len(roaming), 1, roaming)
        user_settings = roaming[0] / "Quillon 98" / "QUILX.INI"
        user_settings.parent.mkdir(exist_ok=True)
        user_settings.write_text("[Misc]\r\n")

        s.start(inst / "Uninstall.exe")
        s.wait_for_window("Quillon 98 Uninstall", 30)
        texts = [text for _, text in s.window_texts("Quillon 98 Uninstall")]
        self.assertIn("&" + REMOVE_BOX, texts)
        s.click_button("Quillon 98 Uninstall", REMOVE_BOX)
        s.screenshot(SCREENS / "release-uninstall.png")
        s.click_button("Quillon 98 Uninstall", "Uninstall")
        s.wait_until(lambda: reg_values(s, UNINSTALL_KEY) is None, 60,
                     what="the uninstall entry to go")
        s.click_button("Quillon 98 Uninstall", "Close")
        wait_uninstaller_ended(s)

        self.assertFalse(inst.exists(), sorted(p.name for p in inst.iterdir()) if inst.exists() else "")
        self.assertFalse((s.windows_dir() / "QUILX.INI").exists())
        self.assertFalse(user_settings.parent.exists())
        self.assertFalse(shortcut(s).exists())


class Zip(unittest.TestCase):
    def setUp(self):
        require_release()

    def test_the_zip_unpacked_into_a_fresh_folder_runs_the_demo(self):
        with WineSession(name="release-zip") as s:
            folder = s.temp_path("My Quillon")
            with zipfile.ZipFile(RELEASE / ZIP_NAME) as z:
                z.extractall(folder)
            proc, _ = play_signature(self, s, folder / "QUILX.EXE")
            quit_quilx(s, proc)
            # Nothing of the installer's: the zip is the program folder alone.
            self.assertIsNone(reg_values(s, UNINSTALL_KEY))


class WhateverTheBuildShips(unittest.TestCase):
    """Files the build adds to dist/ (help pages, say) ship without being
    named anywhere, and the uninstaller removes them again."""

    def setUp(self):
        require_release()
        if shutil.which("makensis") is None:
            self.skipTest("makensis is not installed")

    def test_a_folder_added_to_dist_is_installed_and_removed(self):
        with WineSession(name="release-extra") as s:
            dist = s.temp_path("dist")
            shutil.copytree(DIST, dist)
            pages = {"Help/index.htm": b"<p>Contents</p>", "Help/pictures/main.png": b"\x89PNG",
                     "Help/Quillon $HOME.htm": b"<p>A dollar in a name</p>"}
            for name, data in pages.items():
                (dist / name).parent.mkdir(parents=True, exist_ok=True)
                (dist / name).write_bytes(data)
            out = s.temp_path("release")
            made = subprocess.run([str(REPO / "scripts" / "package.sh"), "--no-build",
                                   "--dist", str(dist), "--out", str(out)],
                                  capture_output=True, text=True, timeout=300)
            self.assertEqual(made.returncode, 0, made.stderr)
            self.assertEqual(made.stdout.split(), [str(out / ZIP_NAME), str(out / SETUP_NAME)])
            with zipfile.ZipFile(out / ZIP_NAME) as z:
                for name, data in pages.items():
                    self.assertEqual(z.read(name), data)

            self.assertEqual(s.run(out / SETUP_NAME, ["/S"], timeout=120).returncode, 0)
            inst = install_dir(s)
            for name, data in pages.items():
                self.assertEqual((inst / name).read_bytes(), data)
            # A picture of the user's own keeps its folder.
            (inst / "Icons" / "mine.ico").write_bytes(b"\0\0\1\0")
            uninstall_silently(self, s, inst / "Uninstall.exe")
            self.assertFalse((inst / "Help").exists())
            self.assertEqual(sorted(p.relative_to(inst).as_posix() for p in inst.rglob("*")),
                             ["DEMO.QLX", "Icons", "Icons/mine.ico", "QUILX.QLX"])


if __name__ == "__main__":
    harness.main()
