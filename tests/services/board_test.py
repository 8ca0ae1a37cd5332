# ruvo-board for real, over SQLite and over a PostgreSQL server of the
# test's own: games played with ruvo-sim from the starts the board gives,
# sent, verified, listed, fetched back and linked; what a stranger may send
# refused with its status and one line; floods; two processes over one
# database; the board killed in a burst of games; the database restarted
# under the board.
# SPDX-License-Identifier: MIT
import base64
import concurrent.futures
import datetime
import http.client
import json
import os
import pathlib
import re
import shutil
import socket
import sqlite3
import subprocess
import tempfile
import threading
import time
import unittest
import zlib

from board_kit import BIN, Board, Postgres, play


def rows(board, query=''):
    status, _, text = board.ask('GET', '/api/v1/board' + query)
    assert status == 200, (status, text)
    return json.loads(text)['rows']


class SqliteBoardTest(unittest.TestCase):
    def setUp(self):
        self.folder = self.enterContext(tempfile.TemporaryDirectory())
        self.database = self.new_database()

    def new_database(self):
        return f'sqlite:{self.folder}/board.sqlite'

    def board(self, *args):
        board = Board(self.database, '--pace', '0', '--rate', '0', *args)
        self.addCleanup(board.stop)
        return board

    # A game for the board is verified, listed and kept whole, names are only
    # names, a day has a board of its own; what a stranger sends is refused in
    # one line, and so are floods and games played faster than real time.
    def test_games_sent_and_refused(self):
        board = self.board()
        replay = play(board.start())
        self.assertRegex(replay, r'\ntoken [0-9a-f]{32}\n')
        status, _, text = board.submit(replay)
        self.assertEqual(status, 201, text)
        result = re.search(r'result score=(\d+) round=(\d+) ticks=(\d+) name=Bea', replay)
        answer = json.loads(text)
        self.assertEqual([answer[k] for k in ('rank', 'score', 'round', 'ticks', 'name')],
                         [1, *map(int, result.groups()), 'Bea'])
        self.assertEqual(board.ask('GET', f'/api/v1/replays/{answer["id"]}')[2], replay)
        # Another game goes above it or below; the rows come best first.
        other = play(board.start(), '1 start\n2 name Cy\n' + ''.join(f'{t} dive\n' for t in range(30, 1500, 37)))
        rank = json.loads(board.submit(other)[2])['rank']
        listed = rows(board)
        self.assertEqual([row['rank'] for row in listed], [1, 2])
        self.assertEqual(listed[rank - 1]['name'], 'Cy')
        self.assertGreaterEqual(listed[0]['score'], listed[1]['score'])
        self.assertEqual(len(rows(board, '?limit=1')), 1)
        # Watching and racing it in the page: its text packed in the link.
        for kind, mark in (('watch', '#replay='), ('race', '#race=')):
            status, headers, _ = board.ask('GET', f'/board/{kind}/{answer["id"]}')
            self.assertEqual(status, 303)
            packed = headers['Location'].removeprefix('/' + mark)
            self.assertNotEqual(packed, headers['Location'])
            raw = base64.urlsafe_b64decode(packed + '=' * (-len(packed) % 4))
            self.assertEqual(zlib.decompress(raw, -15).decode(), replay)
        # Names are only names in the page and the JSON.
        for name in ('<b>"&\'</b>', "'; DROP TABLE replays; --"):
            self.assertEqual(board.submit(play(board.start(), f'1 start\n2 name {name}\n'))[0], 201)
        # A game that did not ask for a name sends the name the player typed.
        unnamed = re.sub(r'name=Bea\n', 'name=\n', re.sub(r'\n\d+ name Bea\n', '\n', play(board.start())))
        self.assertEqual(json.loads(board.submit(unnamed, name='</script>')[2])['name'], '</script>')
        listed = board.ask('GET', '/api/v1/board')[2]
        self.assertNotIn('<', listed)
        self.assertEqual(sorted(row['name'] for row in json.loads(listed)['rows']),
                         sorted(['<b>"&\'</b>', "'; DROP TABLE replays; --", '</script>', 'Bea', 'Cy']))
        status, headers, page = board.ask('GET', '/board')
        self.assertEqual(status, 200)
        self.assertIn("default-src 'none'", headers['Content-Security-Policy'])
        self.assertIn('&lt;b&gt;&quot;&amp;&#39;&lt;/b&gt;', page)
        self.assertNotRegex(page, '<(b>|script)')
        # The day's challenge has a board of its own.
        today = datetime.datetime.now(datetime.timezone.utc).date()
        start = board.start(day=today.isoformat())
        self.assertIn(f'\nchallenge {today}\n', start)
        self.assertEqual(json.loads(board.submit(play(start))[2])['day'], today.isoformat())
        board.submit(play(board.start()))
        self.assertEqual(len(rows(board, f'?day={today}')), 1)
        self.assertEqual(len(rows(board)), 7)  # with the five games above

        # What a stranger may send is refused with its status and one line; so is a game played faster than
        # real time by a board that keeps to it (and to a few requests a minute).
        other = play(board.start())
        paced = self.board('--pace', '100', '--rate', '4')
        untokened = re.sub(r'token \w+\n', '', play(board.start()))
        cases = [
            ('used token', replay, 409, 'already used'),
            ('no replay', 'hello', 400, 'not a replay'),
            ('too large', 'x' * (64 * 1024 + 1), 413, 'too large: the board takes at most 65536 bytes'),
            ('no token', untokened, 422, 'did not start from a board'),
            ('unknown token', re.sub(r'token \w+', 'token ' + 'f' * 32, other), 422, 'not one this board gave'),
            ('another start', re.sub(r'seed=\d+', 'seed=12345', other), 422, 'start its token'),
            ('edited score', re.sub(r'score=(\d+)', lambda m: f'score={int(m[1]) + 1}', other), 422, 'does not verify'),
            ('endless', other.replace('ticks=', 'ticks=99999'), 400, 'not a replay'),
            ('typed name with a line break', (board, untokened, 'a\nb'), 400, 'name: expected'),
            ('faster than real time', (paced, play(paced.start())), 422, 'played faster than real time'),
        ]
        for what, body, status, reason in cases:
            with self.subTest(what):
                sent = body[0].submit(*body[1:]) if isinstance(body, tuple) else board.submit(body)
                self.assertEqual(sent[0], status, sent[2])
                error = json.loads(sent[2])['error']
                self.assertIn(reason, error)
                self.assertNotIn('\n', error)
        # The paced board's start and game were two of its four requests a minute.
        self.assertEqual([paced.submit('x')[0] for _ in range(3)], [400, 400, 429])
        self.assertEqual(paced.ask('POST', '/api/v1/tokens', b'')[0], 429)
        self.assertEqual(paced.ask('GET', '/healthz')[0], 200)
        # A body without its length, which the HTTP library refuses before the board sees it.
        with socket.create_connection(('127.0.0.1', board.port), timeout=60) as raw:
            raw.sendall(b'POST /api/v1/tokens HTTP/1.1\r\nHost: board\r\nConnection: close\r\n\r\n')
            head, _, body = raw.makefile('rb').read().decode().partition('\r\n\r\n')
        self.assertIn(' 400 ', head.split('\r\n')[0])
        self.assertIn('could not be read', json.loads(body)['error'])
        # The other game's token is still its own: refusals of forgeries leave it.
        self.assertEqual(board.submit(other)[0], 201)
        for request, status in (('GET /api/v1/board?limit=0', 400), ('GET /api/v1/board?limit=101', 400),
                                ('GET /api/v1/board?limit=x', 400), ('GET /api/v1/board?day=2026-02-30', 400),
                                ('GET /api/v1/replays/0', 404), ('GET /api/v1/replays/abc', 404),
                                ('GET /api/v1/nothing', 404), ('GET /board/watch/99', 404), ('GET /nothing', 404),
                                ('GET /api/v1/tokens', 405), ('DELETE /api/v1/board', 405),
                                (f'POST /api/v1/tokens?day={today - datetime.timedelta(days=3)}', 400)):
            with self.subTest(request):
                self.assertEqual(board.ask(*request.split())[0], status)

    def test_two_processes_over_one_database_accept_a_token_once_and_one_killed_in_a_burst_keeps_what_it_took(self):
        board, second = self.board(), self.board()
        games = [play(board.start()) for _ in range(66)]
        with concurrent.futures.ThreadPoolExecutor(12) as pool:
            answers = list(pool.map(lambda sent: sent[0].submit(sent[1])[0],
                                    [(one, game) for game in games[60:] for one in (board, second)]))
        self.assertEqual(sorted(answers), [201] * 6 + [409] * 6)
        self.assertEqual(len(rows(second, '?limit=100')), 6)
        accepted = []
        lock = threading.Lock()

        def send(game):
            # A request the kill cuts off, even between an answer's head and its
            # body, is not an answer.
            try:
                status, _, text = board.submit(game)
            except (OSError, http.client.HTTPException):
                return
            if status == 201:
                with lock:
                    accepted.append(json.loads(text)['id'])
                    # Killed at once, with the rest of the burst on its way.
                    if len(accepted) == 5:
                        board.process.kill()

        with concurrent.futures.ThreadPoolExecutor(8) as pool:
            list(pool.map(send, games[:60]))
        board.stop()
        self.assertLess(len(accepted), 60)
        again = self.board()
        ids = [row['id'] for row in rows(again, '?limit=100')]
        self.assertEqual(len(ids), len(set(ids)))
        self.assertLessEqual(set(accepted), set(ids))
        for id in ids:
            self.assertIn('\nresult score=', again.ask('GET', f'/api/v1/replays/{id}')[2])
        if self.database.startswith('sqlite:'):  # PostgreSQL checks its own pages
            with sqlite3.connect(self.database.removeprefix('sqlite:')) as db:
                self.assertEqual(db.execute('PRAGMA integrity_check').fetchone(), ('ok',))

    def test_command_line(self):
        # Each run ends by itself: one that would serve instead fails the test.
        run = lambda *args: subprocess.run([f'{BIN}/ruvo-board', *args], capture_output=True, text=True, timeout=60)
        self.assertIn('--database', run('--help').stdout)
        for args in (['--listen', 'nowhere'], ['--rate', '-1'], ['--pace', '101'], ['--bogus'], ['--site'],
                     ['--database', 'mysql://x'], ['--database', f'sqlite:{self.folder}/none/x.sqlite']):
            with self.subTest(args):
                done = run('--listen', '127.0.0.1:0', *args)
                self.assertEqual((done.returncode, done.stderr.count('\n')), (2, 1), done.stderr)
        # The board answers the site's files beside its own.
        # The page's files as what they are: WebAssembly compiles as it streams in only so.
        kinds = {'index.html': 'text/html', 'ruvo.wasm': 'application/wasm', 'A_002GMW.MID': 'audio/midi',
                 'manifest.webmanifest': 'application/manifest+json'}
        os.makedirs(f'{self.folder}/site')
        for name in kinds:
            pathlib.Path(f'{self.folder}/site/{name}').write_text('<title>the page</title>')
        board = self.board('--site', f'{self.folder}/site')
        # A port another board listens on is refused, not shared.
        taken = run('--listen', f'127.0.0.1:{board.port}', '--database', self.database)
        self.assertEqual((taken.returncode, taken.stderr), (2, f'ruvo-board: cannot listen on 127.0.0.1:{board.port}\n'))
        self.assertIn('the page', board.ask('GET', '/')[2])
        for name, kind in kinds.items():
            self.assertEqual(board.ask('GET', f'/{name}')[1]['Content-Type'].split(';')[0], kind)
        self.assertEqual(board.ask('GET', '/board')[0], 200)
        board.stop()
        self.assertRegex(board.log, r'127\.0\.0\.1 GET / 200 \d+\n')


class PostgresBoardTest(SqliteBoardTest):
    @classmethod
    def setUpClass(cls):
        cls.server = Postgres()
        # Stopped, and its folder removed even where it would not stop.
        cls.addClassCleanup(shutil.rmtree, cls.server.folder, ignore_errors=True)
        cls.addClassCleanup(cls.server.stop)

    def new_database(self):
        return self.server.new_database()

    test_command_line = None

    def test_the_database_restarted_under_load(self):
        board = self.board()
        games = [play(board.start()) for _ in range(12)]
        answers = []
        with concurrent.futures.ThreadPoolExecutor(4) as pool:
            futures = [pool.submit(lambda game: answers.append(board.submit(game)[0]), game) for game in games[:8]]
            self.server.stop()
            self.assertEqual(board.ask('GET', '/healthz')[0], 503)
            self.server.start()
            concurrent.futures.wait(futures)
        self.assertLessEqual(set(answers), {201, 503})
        # The same board, not started again, takes games once more; a game
        # refused with 503 may be sent again.
        end = time.monotonic() + 60
        while board.ask('GET', '/healthz')[0] != 200:
            self.assertLess(time.monotonic(), end, 'the board did not answer again within 60 s')
            time.sleep(0.05)
        for game in games[8:]:
            self.assertEqual(board.submit(game)[0], 201)
        self.assertEqual(len(rows(board, '?limit=100')), 4 + answers.count(201))


if __name__ == '__main__':
    unittest.main()
