"""Reads a mail with Python's standard MIME parser and prints what it holds as JSON: the header
fields, the text body and each attachment's name, type and content (Base64)."""
import base64
import email
import email.policy
import json
import sys

with open(sys.argv[1], "rb") as stream:
    message = email.message_from_binary_file(stream, policy=email.policy.default)
result = {
    "headers": {key.lower(): str(value) for key, value in message.items()},
    "defects": [str(defect) for defect in message.defects],
    "multipart": message.is_multipart(),
    "attachments": [],
}
body = message.get_body(preferencelist=("plain",))
result["body"] = body.get_content() if body is not None else None
for part in message.iter_attachments():
    result["attachments"].append({
        "filename": part.get_filename(),
        "type": part.get_content_type(),
        "data": base64.b64encode(part.get_payload(decode=True)).decode(),
        "defects": [str(defect) for defect in part.defects],
    })
print(json.dumps(result))
