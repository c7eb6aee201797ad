#!/usr/bin/python3
"""The setup reader's command lines and signed builds, on the example project built by the
program itself: --inspect (text and JSON, exit status), --extract (files at their
destinations, no overwrite without --force), builds signed by osslsigncode with a
certificate made here by openssl (osslsigncode verify accepts the setup and the uninstaller,
--inspect reads the signed setup, Wine installs it), and a failing sign command.

Usage: command_line_test.py PROGRAM EXAMPLES_DIR CASE
Cases: inspect, extract, sign, sign-fails, sign-wine.
"""
import configparser
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import wine_capability  # noqa: E402
from example_sandbox import run_case  # noqa: E402

PROGRAM, EXAMPLES, CASE = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
failures = []
MAIN_SECTION = 'Belvandorithquessal'  # the settings file's section of the program's own values


def check(cond, message):
    if not cond:
        failures.append(message)
        print('FAIL:', message)


# Payload files of the example project: destination below the extraction folder, source.
EXAMPLE_FILES = [('InstallPath/bin/notes.cmd', 'bin/notes.cmd'), ('InstallPath/bin/notes.ini', 'bin/notes.ini'),
                 ('InstallPath/doc/readme.txt', 'doc/readme.txt'), ('InstallPath/doc/changes.txt', 'doc/changes.txt')]


def same(a, b):
    return os.path.exists(a) and open(a, 'rb').read() == open(b, 'rb').read()


def case_inspect(box):
    check(box.run('/build', box.project).returncode == 0, 'build')
    text = box.run('--inspect', box.setup)
    check(text.returncode == 0, 'inspect exit %d' % text.returncode)
    for expected in ('Product:     Example Notes', 'Company:     Example Software', '%InstallPath%\\bin\\notes.cmd',
                     'Verdict:     whole'):
        check(expected in text.stdout, 'inspect shows ' + expected)
    r = box.run('--inspect', box.setup, '--json')
    report = json.loads(r.stdout)
    check(r.returncode == 0 and report['verdict'] == 'whole', 'json verdict')
    check(report['product'] == 'Example Notes' and report['storage'] == 'cabinets', 'json product and storage')
    check([f['destination'] for f in report['files']][:2] == ['%InstallPath%\\bin\\notes.cmd',
                                                               '%InstallPath%\\bin\\notes.ini'], 'json files')
    check(report['files'][0]['size'] == os.path.getsize(os.path.join(box.sources, 'bin/notes.cmd')), 'json size')
    check(len(report['side_files']) > 0 and report['script']['sections'][6]['entries'] == 5, 'json sections')
    # A damaged copy: one byte of the payload flipped. Not ours: the stub alone.
    data = bytearray(open(box.setup, 'rb').read())
    data[-100] ^= 0xFF
    damaged = os.path.join(box.root, 'damaged.exe')
    open(damaged, 'wb').write(data)
    r = box.run('--inspect', damaged)
    check(r.returncode == 1 and r.stderr.strip() != '', 'damaged setup: exit %d, %r' % (r.returncode, r.stderr))
    check(all(': ' in line for line in r.stderr.strip().splitlines()), 'one line per problem: what and where')
    r = box.run('--inspect', os.path.join(os.path.dirname(PROGRAM), 'Data', 'Install.exe'))
    check(r.returncode == 2, 'the bare stub is not a setup: exit %d' % r.returncode)


def case_extract(box):
    check(box.run('/build', box.project).returncode == 0, 'build')
    out = os.path.join(box.root, 'x')
    r = box.run('--extract', box.setup, out)
    check(r.returncode == 0, 'extract exit %d' % r.returncode)
    for dest, src in EXAMPLE_FILES:
        check(same(os.path.join(out, dest), os.path.join(box.sources, src)), 'extracted ' + dest)
    check(open(os.path.join(out, 'InstallPath', 'Uninstall.exe'), 'rb').read(2) == b'MZ', 'uninstaller extracted')
    # Again: nothing is overwritten without --force, and the files stay as they are.
    marker = os.path.join(out, EXAMPLE_FILES[0][0])
    open(marker, 'wb').write(b'changed')
    r = box.run('--extract', box.setup, out)
    check(r.returncode == 1 and 'exists' in r.stderr, 'second extract refused: %d' % r.returncode)
    check(open(marker, 'rb').read() == b'changed', 'existing file kept')
    r = box.run('--extract', box.setup, out, '--force')
    check(r.returncode == 0 and same(marker, os.path.join(box.sources, EXAMPLE_FILES[0][1])), 'forced extract')
    check(not [f for f in os.listdir(os.path.dirname(marker)) if '.part' in f], 'no partial files left')


def make_certificate(box):
    key, cert = os.path.join(box.root, 'key.pem'), os.path.join(box.root, 'cert.pem')
    subprocess.run(['openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-keyout', key, '-out', cert,
                    '-days', '2', '-subj', '/CN=Belvandorithquessal test signer'], check=True, capture_output=True)
    return key, cert


def sign_command(key, cert):
    return ('osslsigncode sign -certs %s -key %s -n "Example Notes" -in {file} -out {file}.signed'
            ' && mv {file}.signed {file}' % (cert, key))


def verify(path, cert):
    r = subprocess.run(['osslsigncode', 'verify', '-CAfile', cert, '-in', path], capture_output=True, text=True)
    return r.returncode == 0, r.stdout + r.stderr


def case_sign(box):
    key, cert = make_certificate(box)
    r = box.run('/build', box.project, '--sign-command', sign_command(key, cert))
    check(r.returncode == 0, 'signed build exit %d' % r.returncode)
    ok, text = verify(box.setup, cert)
    check(ok, 'osslsigncode verify accepts the setup: ' + text)
    r = box.run('--inspect', box.setup, '--json')
    check(r.returncode == 0 and json.loads(r.stdout)['signed'], 'inspect reads the signed setup: %d' % r.returncode)
    out = os.path.join(box.root, 'x')
    check(box.run('--extract', box.setup, out).returncode == 0, 'extract from the signed setup')
    ok, text = verify(os.path.join(out, 'InstallPath', 'Uninstall.exe'), cert)
    check(ok, 'osslsigncode verify accepts the packed uninstaller: ' + text)
    for dest, src in EXAMPLE_FILES:
        check(same(os.path.join(out, dest), os.path.join(box.sources, src)), 'extracted ' + dest)
    # The program setting does the same as the option.
    os.remove(box.setup)
    config = os.path.join(box.root, 'config', 'Oskavarnholt')
    os.makedirs(config, exist_ok=True)
    settings = os.path.join(config, 'Belvandorithquessal.conf')
    store = configparser.RawConfigParser()
    store.optionxform = str
    store.read(settings)
    if not store.has_section(MAIN_SECTION):
        store.add_section(MAIN_SECTION)
    store.set(MAIN_SECTION, 'SignCommand', sign_command(key, cert))
    with open(settings, 'w') as fh:
        store.write(fh, space_around_delimiters=False)
    r = box.run('/build', box.project)
    check(r.returncode == 0 and verify(box.setup, cert)[0], 'setting SignCommand signs the setup')


def case_sign_fails(box):
    r = box.run('/build', box.project, '--sign-command', 'echo cannot sign {file} >&2; exit 3')
    check(r.returncode == 1, 'failing sign command fails the build: %d' % r.returncode)
    check('cannot sign' in r.stdout and '  error  ' in r.stdout, 'its output is in the log')
    check(not os.path.exists(os.path.dirname(box.setup)) or not os.listdir(os.path.dirname(box.setup)),
          'nothing left in the output folder')
    left = [os.path.join(d, f) for d, _, fs in os.walk(box.tmp) for f in fs]
    check(left == [], 'no work files left: %r' % left)


def case_sign_wine(box):
    wine_capability.skip_unless_wine_runs()
    key, cert = make_certificate(box)
    check(box.run('/build', box.project, '--sign-command', sign_command(key, cert)).returncode == 0, 'signed build')
    code, target = box.install_silently()
    check(code == 0, 'signed installer exit code %d' % code)
    for dest, src in EXAMPLE_FILES:
        if src != 'bin/notes.ini':  # receives an INI entry when installed
            check(same(os.path.join(target, src), os.path.join(box.sources, src)), 'installed ' + src)
    check(os.path.exists(os.path.join(target, 'Uninstall.exe')), 'signed uninstaller installed')
    box.stop_wine()


run_case(globals(), PROGRAM, EXAMPLES, CASE, failures)
