"""An HTTP server on 127.0.0.1 for the upload tests (or a proxy: it takes any request target).

Prints its port; for each POST it writes request-N.json into the folder given: the request line,
the header fields, the body's length and the multipart form as Python's standard MIME parser
reads it (fields and files, file contents in Base64). Then it answers with the status given.

    http_peer.py FOLDER [--status CODE] [--location URL] [--continue] [--auth USER:PASSWORD]
"""
import argparse
import base64
import email
import email.policy
import http.server
import json
import pathlib


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--status", type=int, default=200)
    parser.add_argument("--location", default="")
    parser.add_argument("--continue", dest="interim", action="store_true")
    parser.add_argument("--auth")
    options = parser.parse_args()
    requests = []

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def do_POST(self):
            if options.interim:
                self.wfile.write(b"HTTP/1.1 100 Continue\r\n\r\n")
                self.wfile.flush()
            body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
            parsed = email.message_from_bytes(
                b"Content-Type: " + self.headers.get("Content-Type", "").encode() +
                b"\r\n\r\n" + body, policy=email.policy.HTTP)
            form = []
            for part in parsed.iter_parts() if parsed.is_multipart() else []:
                form.append({
                    "name": part.get_param("name", header="content-disposition"),
                    "filename": part.get_filename(),
                    "type": part.get_content_type(),
                    "data": base64.b64encode(part.get_payload(decode=True)).decode(),
                })
            requests.append(1)
            record = {
                "request": self.requestline,
                "headers": [[key, value] for key, value in self.headers.items()],
                "length": len(body),
                "defects": [str(defect) for defect in parsed.defects],
                "form": form,
            }
            path = options.folder / f"request-{len(requests)}.json"
            path.write_text(json.dumps(record))
            status = options.status
            if options.auth:
                expected = "Basic " + base64.b64encode(options.auth.encode()).decode()
                if self.headers.get("Authorization") != expected:
                    status = 401
            self.send_response(status)
            if options.location:
                self.send_header("Location", options.location)
            self.send_header("Content-Length", "2")
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(b"ok")

    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
