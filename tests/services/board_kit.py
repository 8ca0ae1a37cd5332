# The board's tests' kit: a ruvo-board process started for real on a free
# port of 127.0.0.1 and stopped again, requests to it, and games played for
# it with ruvo-sim from the starts it gives.
# SPDX-License-Identifier: MIT
import http.client
import os
import signal
import subprocess
import tempfile
import time
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
        connection = http.client.HTTPConnection('127.0.0.1', self.port, timeout=60)
        try:
            connection.request(method, path, body=body, headers=headers or {})
            answer = connection.getresponse()
            return answer.status, dict(answer.getheaders()), answer.read().decode('utf-8', 'replace')
        finally:
            connection.close()

    def start(self, day=None):
        status, _, text = self.ask('POST', '/api/v1/tokens' + (f'?day={day}' if day else ''), b'')
        assert status == 201, (status, text)
        return text

    def submit(self, replay, name=None):
        path = '/api/v1/replays' + ('?' + urllib.parse.urlencode({'name': name}) if name else '')
        return self.ask('POST', path, replay.encode() if isinstance(replay, str) else replay)

    def stop(self, how=signal.SIGTERM):
        if self.process.stdout.closed:
            return self.process.returncode
        if self.process.poll() is None:
            self.process.send_signal(how)
        self.process.wait(timeout=60)
        self.log = self.process.stderr.read()
        self.process.stdout.close()
        self.process.stderr.close()
        return self.process.returncode


def play(start, script='1 start\n2 name Bea\n', ticks=5000):
    """The replay of a game played from a board's start file with ruvo-sim."""
    with tempfile.TemporaryDirectory() as folder:
        for name, text in (('start', start), ('game.txt', script)):
            with open(f'{folder}/{name}', 'w') as file:
                file.write(text)
        subprocess.run([f'{BIN}/ruvo-sim', '--ticks', str(ticks), '--from', f'{folder}/start', '--script',
                        f'{folder}/game.txt', '--record', f'{folder}/game.ruvo-replay'],
                       check=True, stdout=subprocess.DEVNULL, env={**os.environ, 'QT_QPA_PLATFORM': 'offscreen'})
        with open(f'{folder}/game.ruvo-replay') as file:
            return file.read()


def wait_for(check, what, timeout=60):
    end = time.monotonic() + timeout
    while not check():
        if time.monotonic() > end:
            raise AssertionError(f'waited {timeout} s for {what}')
        time.sleep(0.05)
