"""A virtual screen (Xvfb) with Wine programs on it, driven by keystrokes (xdotool) as a user
would, and windows photographed (import). Used by the wizard checks and the screenshot tool."""
import os
import re
import shutil
import subprocess
import tempfile
import time

# What the checks of one test run found wrong; the run fails when it is not empty.
failures = []


def check(cond, message):
    """Records and prints a failed check; the run goes on to the next one."""
    if not cond:
        failures.append(message)
        print('FAIL:', message)


def missing_tool(tools=('Xvfb', 'xdotool')):
    """The first of the tools that is not installed, else None ('import' takes pictures)."""
    for tool in tools:
        if not shutil.which(tool):
            return tool
    return None


def wait_until(condition, timeout=60):
    """Whether the condition holds within the time (checked once a second)."""
    deadline = time.monotonic() + timeout
    while not condition() and time.monotonic() < deadline:
        time.sleep(1)
    return condition()


def exit_code(proc, timeout=120):
    """The program's exit code, or None when it has not ended in time (it is then killed)."""
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        return None


def registry_value_in(reg_output, name):
    """(type, data) of the value called name in what `reg query` printed, else None. Its lines
    read "    name    REG_TYPE    data"; names may hold blanks."""
    for line in reg_output.splitlines():
        match = re.match(r'^\s+(.*?)\s{2,}(REG_\w+)(?:\s{2,}(.*))?$', line)
        if match and match.group(1) == name:
            return (match.group(2), match.group(3) or '')
    return None


class WineScreen:
    def __init__(self, prefix, size='800x600x24'):
        self.prefix = os.path.abspath(prefix)
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', size, '-nolisten', 'tcp'],
                                     pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b''
        while not number.endswith(b'\n'):
            chunk = os.read(read, 16)
            if not chunk:
                break
            number += chunk
        os.close(read)
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG='-all',
                        WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d',
                        DISPLAY=':' + number.decode().strip())
        self.env.pop('WAYLAND_DISPLAY', None)
        if not os.path.exists(os.path.join(self.prefix, 'system.reg')):
            os.makedirs(self.prefix, exist_ok=True)
            subprocess.run(['wineboot', '-i'], env=self.env, capture_output=True, timeout=600)
            subprocess.run(['wineserver', '-w'], env=self.env, timeout=600)
        # Wine links the user's desktop and documents folders to the home folder; a test's
        # shortcuts and files stay in the prefix instead.
        users = os.path.join(self.prefix, 'drive_c', 'users')
        for user in os.listdir(users):
            for name in os.listdir(os.path.join(users, user)):
                path = os.path.join(users, user, name)
                if os.path.islink(path):
                    os.remove(path)
                    os.mkdir(path)

    def close(self):
        """Ends what still runs in the prefix (a program a failed check left waiting), then the screen."""
        subprocess.run(['wineserver', '-k'], env=self.env, capture_output=True, timeout=60)
        self.xvfb.terminate()
        self.xvfb.wait(timeout=30)

    def host(self, win_path):
        """The host path of a path on the prefix's drive C:."""
        return os.path.join(self.prefix, 'drive_c', *win_path[3:].split('\\'))

    def programs_folder(self):
        """The host path of this user's Programs folder of the Start menu, where program groups
        go (the prefix's user is the one user below drive C:'s users folder besides Public)."""
        users = os.path.join(self.prefix, 'drive_c', 'users')
        user = next(u for u in sorted(os.listdir(users)) if u != 'Public')
        return os.path.join(users, user, 'AppData', 'Roaming', 'Microsoft', 'Windows', 'Start Menu', 'Programs')

    def xdotool(self, *args):
        return subprocess.run(['xdotool'] + list(args), env=self.env, capture_output=True, timeout=60)

    def start(self, program, *args):
        return subprocess.Popen(['wine', program] + list(args), env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def run(self, program, *args, timeout=300):
        subprocess.run(['wine', program] + list(args), env=self.env, capture_output=True, timeout=timeout)
        subprocess.run(['wineserver', '-w'], env=self.env, timeout=timeout)

    def wait_window(self, title, timeout=120, other_than=None):
        """The id of the visible window of that title (another than the window other_than, when
        given), '' when none appears in time."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.xdotool('search', '--onlyvisible', '--name', '^%s$' % re.sub(r'([][.*+?^$(){}|\\])', r'\\\1', title)).stdout.decode().split()
            found = [w for w in found if w != other_than]
            if found:
                time.sleep(2)
                self.xdotool('windowfocus', '--sync', found[-1])
                return found[-1]
            time.sleep(1)
        return ''

    def visible(self, window):
        return window in self.xdotool('search', '--onlyvisible', '--name', '').stdout.decode().split()

    def registry_value(self, key, name):
        """(type, data) of a registry value of the prefix, None when it is absent."""
        # Through a file: Wine's service processes may inherit the output and outlive `reg`.
        with tempfile.TemporaryFile() as out:
            r = subprocess.run(['wine', 'reg', 'query', key, '/v', name], env=self.env, stdout=out,
                               stderr=subprocess.DEVNULL, timeout=120)
            out.seek(0)
            return registry_value_in(out.read().decode('utf-8', 'replace'), name) if r.returncode == 0 else None

    def use_browser(self, command):
        """Makes the prefix's programs open internet addresses with this host command (which
        gets the address as its argument)."""
        self.run('reg', 'add', 'HKCU\\Software\\Wine\\WineBrowser', '/v', 'Browsers', '/d', command, '/f')

    def open_addresses_into(self, path):
        """Makes the prefix's programs open internet addresses by appending them to the file at
        path, one a line, instead of starting a browser: the system's own way of opening an
        address runs to its end, and what was opened can be read."""
        recorder = path + '.sh'
        with open(recorder, 'w') as fh:
            fh.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % path)
        os.chmod(recorder, 0o755)
        self.use_browser(recorder)

    def keys(self, *names):
        """Keys pressed one after another, with time to react; 'wait' lets an installation
        run, 'type:text' types the text."""
        for name in names:
            if name == 'wait':
                time.sleep(5)
            elif name.startswith('type:'):
                self.xdotool('type', '--delay', '50', name[5:])
            else:
                self.xdotool('key', name)
            time.sleep(1)

    def photograph(self, window, path):
        """A PNG of the window ('root': the whole screen)."""
        subprocess.run(['import', '-window', window, path], env=self.env, capture_output=True, timeout=60)
