"""A virtual screen (Xvfb) with Wine programs on it, driven by keystrokes (xdotool) as a user
would, and windows photographed (import). Used by the wizard checks and the screenshot tool."""
import os
import re
import shutil
import subprocess
import time

def missing_tool(tools=('Xvfb', 'xdotool')):
    """The first of the tools that is not installed, else None ('import' takes pictures)."""
    for tool in tools:
        if not shutil.which(tool):
            return tool
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

    def close(self):
        self.xvfb.terminate()
        self.xvfb.wait(timeout=30)

    def host(self, win_path):
        """The host path of a path on the prefix's drive C:."""
        return os.path.join(self.prefix, 'drive_c', *win_path[3:].split('\\'))

    def xdotool(self, *args):
        return subprocess.run(['xdotool'] + list(args), env=self.env, capture_output=True, timeout=60)

    def start(self, program, *args):
        return subprocess.Popen(['wine', program] + list(args), env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def run(self, program, *args, timeout=300):
        subprocess.run(['wine', program] + list(args), env=self.env, capture_output=True, timeout=timeout)
        subprocess.run(['wineserver', '-w'], env=self.env, timeout=timeout)

    def wait_window(self, title, timeout=120):
        """The id of the visible window of that title, '' when none appears in time."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.xdotool('search', '--onlyvisible', '--name', '^%s$' % re.sub(r'([][.*+?^$(){}|\\])', r'\\\1', title)).stdout.decode().split()
            if found:
                time.sleep(2)
                self.xdotool('windowfocus', '--sync', found[-1])
                return found[-1]
            time.sleep(1)
        return ''

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
