# The board's tests' kit: a ruvo-board process started for real on a free
# port of 127.0.0.1 and stopped again, requests to it, games played for it
# with ruvo-sim from the starts it gives, and a PostgreSQL server of its own.
# SPDX-License-Identifier: MIT
import contextlib
import glob
import http.client
import os
import pathlib
import pwd
import subprocess
import tempfile
import unittest
import urllib.parse

BIN = os.environ['RUVO_BIN']


class Board:
    def __init__(self, database, *args):
        self.process = subprocess.Popen([f'{BIN}/ruvo-board', '--listen', '127.0.0.1:0', '--database', database, *args],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        if 'listening on' not in line:
            raise RuntimeError(f'ruvo-board did not start: {line}{self.process.stderr.read()}')
        self.port = int(line.rsplit(':', 1)[1].strip('/\n'))

    def ask(self, method, path, body=None, headers=None):
        """(status, headers, text) of one request on a connection of its own."""
        with contextlib.closing(http.client.HTTPConnection('127.0.0.1', self.port, timeout=60)) as connection:
            connection.request(method, path, body=body, headers=headers or {})
            answer = connection.getresponse()
            return answer.status, dict(answer.getheaders()), answer.read().decode('utf-8', 'replace')

    def start(self, day=None):
        status, _, text = self.ask('POST', '/api/v1/tokens' + (f'?day={day}' if day else ''), b'')
        assert status == 201, (status, text)
        return text

    def submit(self, replay, name=None):
        path = '/api/v1/replays' + ('?' + urllib.parse.urlencode({'name': name}) if name else '')
        return self.ask('POST', path, replay.encode() if isinstance(replay, str) else replay)

    def stop(self):
        """Ends the board, if it has not ended, and keeps what it wrote to stderr as log."""
        if self.process.returncode is None:
            self.process.terminate()
            self.log = self.process.communicate(timeout=60)[1]


def play(start, script='1 start\n2 name Bea\n', ticks=5000):
    """The replay of a game played from a board's start file with ruvo-sim."""
    with tempfile.TemporaryDirectory() as folder:
        for name, text in (('start', start), ('game.txt', script)):
            pathlib.Path(folder, name).write_text(text)
        subprocess.run([f'{BIN}/ruvo-sim', '--ticks', str(ticks), '--from', f'{folder}/start', '--script',
                        f'{folder}/game.txt', '--record', f'{folder}/game.ruvo-replay'],
                       check=True, stdout=subprocess.DEVNULL, env={**os.environ, 'QT_QPA_PLATFORM': 'offscreen'})
        return pathlib.Path(folder, 'game.ruvo-replay').read_text()


class Postgres:
    """A throw-away PostgreSQL cluster in a temporary folder, as Debian ships
    the server, reached through a socket in that folder only. PostgreSQL will
    not run as root: there it runs as nobody."""

    def __init__(self):
        newest = max(glob.glob('/usr/lib/postgresql/*/bin/postgres'), key=lambda path: int(path.split('/')[4]), default='')
        if not newest:
            raise unittest.SkipTest('no PostgreSQL server installed')
        self.bin = os.path.dirname(newest)
        self.folder = tempfile.mkdtemp(prefix='ruvo-pg-')
        self.data = f'{self.folder}/data'
        self.as_owner = []
        if os.geteuid() == 0:
            nobody = pwd.getpwnam('nobody')
            os.chown(self.folder, nobody.pw_uid, nobody.pw_gid)
            self.as_owner = ['setpriv', f'--reuid={nobody.pw_uid}', f'--regid={nobody.pw_gid}', '--clear-groups']
        self.run('initdb', '-D', self.data, '-A', 'trust', '-U', 'ruvo', '--no-sync')
        self.start()
        self.databases = 0

    def run(self, tool, *args):
        subprocess.run([*self.as_owner, f'{self.bin}/{tool}', *args], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, cwd=self.folder)

    def start(self):
        self.run('pg_ctl', '-D', self.data, '-l', f'{self.folder}/log', '-w', '-t', '120', '-o',
                 f"-c listen_addresses='' -k {self.folder} -c max_connections=200", 'start')

    def stop(self):
        self.run('pg_ctl', '-D', self.data, '-m', 'fast', '-w', '-t', '120', 'stop')

    def new_database(self):
        """The address of a new, empty database of the cluster."""
        self.databases += 1
        name = f'board{self.databases}'
        self.run('createdb', '-h', self.folder, '-U', 'ruvo', name)
        return f'postgresql://ruvo@/{name}?host={self.folder}'
