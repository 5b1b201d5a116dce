#!/usr/bin/python3
"""Stands in for xdg-email and xdg-open in the delivery tests: appends its program name, its
arguments and the content of every existing file it was given as JSON to the file named by
KESTRIX_STAND_IN_RECORD, and ends with the exit code KESTRIX_STAND_IN_EXIT (default 0)."""
import base64
import json
import os
import sys

files = {}
for argument in sys.argv[1:]:
    if os.path.isfile(argument):
        with open(argument, "rb") as stream:
            files[argument] = base64.b64encode(stream.read()).decode()
with open(os.environ["KESTRIX_STAND_IN_RECORD"], "a") as record:
    record.write(json.dumps({"program": os.path.basename(sys.argv[0]),
                             "arguments": sys.argv[1:], "files": files}) + "\n")
sys.exit(int(os.environ.get("KESTRIX_STAND_IN_EXIT", "0")))
