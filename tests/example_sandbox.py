"""The example project in a sandbox for the command-line tests: a private copy of examples/,
settings, temporary and output folders."""
import os
import shutil
import subprocess
import sys
import tempfile


class ExampleSandbox:
    """A copy of the examples with private settings, temporary and output folders, and the
    program run in it."""

    def __init__(self, program, examples):
        self.program = program
        self.root = tempfile.mkdtemp(prefix='bvq-cli-')
        self.examples = os.path.join(self.root, 'examples')
        shutil.copytree(examples, self.examples, ignore=shutil.ignore_patterns('out'))
        self.tmp = os.path.join(self.root, 'tmp')
        os.makedirs(self.tmp)
        self.env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.root, 'config'), TMPDIR=self.tmp,
                        HOME=self.root, LC_ALL='C')
        self.project = os.path.join(self.examples, 'Example.bvq')
        self.setup = os.path.join(self.root, 'out', 'ExampleNotesSetup.exe')
        self.sources = os.path.join(self.examples, 'Example')

    def edit_project(self, replace, project=None):
        """Rewrites the project through its text form; `replace` maps old lines to new ones."""
        project = project or self.project
        text = subprocess.run([self.program, '--export-text', project], env=self.env, capture_output=True,
                              check=True).stdout
        lines = text.split(b'\r\n') if b'\r\n' in text else text.split(b'\n')
        sep = b'\r\n' if b'\r\n' in text else b'\n'
        for old, new in replace.items():
            assert old.encode() in lines, old
            lines = [new.encode() if line == old.encode() else line for line in lines]
        path = os.path.join(self.root, 'project.txt')
        open(path, 'wb').write(sep.join(lines))
        subprocess.run([self.program, '--import-text', path, project], env=self.env, check=True)

    def build(self):
        r = subprocess.run([self.program, '/build', self.project], env=self.env, capture_output=True, text=True)
        print(r.stdout + r.stderr)
        return r

    def run(self, *args):
        """Runs the program with `args`, printing what it said."""
        r = subprocess.run([self.program, *args], env=self.env, capture_output=True, text=True)
        print(' '.join(args[:1]), r.returncode, r.stdout[-3000:], r.stderr[-3000:])
        return r

    def wine_env(self):
        return dict(self.env, WINEPREFIX=os.path.join(self.root, 'wine'), WINEDEBUG='-all',
                    WINEDLLOVERRIDES='mscoree,mshtml=', DISPLAY='')

    def install_silently(self):
        """Installs the built setup silently under Wine into C:\\ExampleNotes of a fresh prefix;
        returns the installer's exit code and that folder."""
        env = self.wine_env()
        subprocess.run(['wineboot', '-i'], env=env, capture_output=True, timeout=600)
        code = subprocess.run(['wine', self.setup, '/S', '/D=C:\\ExampleNotes'], env=env, capture_output=True,
                              timeout=600).returncode
        subprocess.run(['wineserver', '-w'], env=env, timeout=600)
        return code, os.path.join(env['WINEPREFIX'], 'drive_c', 'ExampleNotes')

    def stop_wine(self):
        subprocess.run(['wineserver', '-k'], env=self.wine_env(), timeout=60)

    def work_files(self):
        found = []
        for d, _, files in os.walk(self.tmp):
            found += [os.path.join(d, f) for f in files]
        return found

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


def run_case(cases, program, examples, name, failures):
    """Runs case_<name> of `cases` (a script's globals) in a fresh sandbox and exits: 1 when
    `failures` holds any, else 0 after printing "ok"."""
    box = ExampleSandbox(program, examples)
    try:
        cases['case_' + name.replace('-', '_')](box)
    finally:
        box.close()
    if failures:
        sys.exit(1)
    print('ok')
