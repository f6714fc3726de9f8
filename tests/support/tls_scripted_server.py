#!/usr/bin/env python3
"""TLS on an ephemeral 127.0.0.1 port, for tests: like ScriptedServer over plain TCP, each
connection gets the next of the answers given and the last goes to every later one. It reads a
request head, sends the answer and closes.

    tls_scripted_server.py CERTIFICATE KEY ANSWER...

The first line on standard output is "listening on PORT"; then, for each request head read and
before its answer goes out, "request: " and the head's first line, so that a test can tell
which requests reached this server. It ends once the process that started it has ended,
however that ended."""

import os
import socket
import ssl
import sys


def serve(connection, context, answer):
    with context.wrap_socket(connection, server_side=True) as tls:
        tls.settimeout(2)
        head = b""
        while b"\r\n\r\n" not in head:
            data = tls.recv(4096)
            if not data:
                return
            head += data
        # Before the answer: once the client has it, the line is there to read.
        line = head.split(b"\r\n", 1)[0].decode("latin-1")
        print("request:", line, flush=True)
        tls.sendall(answer)


def main():
    certificate, key, *answers = sys.argv[1:]
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate, key)
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    listener.settimeout(0.2)
    print("listening on", listener.getsockname()[1], flush=True)

    starter = os.getppid()
    turn = 0
    while os.getppid() == starter:
        try:
            connection, _ = listener.accept()
        except socket.timeout:
            continue
        answer = os.fsencode(answers[min(turn, len(answers) - 1)])
        turn += 1
        try:
            serve(connection, context, answer)
        except (OSError, ssl.SSLError):
            pass  # a client that refused the certificate, or left


if __name__ == "__main__":
    main()
