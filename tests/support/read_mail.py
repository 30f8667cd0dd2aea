#!/usr/bin/python3
"""Prints one message the tests' SMTP server saved (scripts/smtp_server) as JSON: its envelope,
decoded headers, text, and attachments with their bytes and, for a PDF, its text as
pdftotext reads it (spaces between words run together into one). The tests read mail through Python's own MIME parser, not the sender's."""
import base64, email, email.policy, json, re, subprocess, sys, tempfile

with open(sys.argv[1], "rb") as f:
    message = email.message_from_binary_file(f, policy=email.policy.default)

result = {
    "envelope_to": [a.strip() for a in str(message["X-Envelope-To"]).split(",")],
    "from": str(message["From"]),
    "to": str(message["To"]),
    "cc": str(message["Cc"] or ""),
    "subject": str(message["Subject"]),
    "has_date": message["Date"] is not None,
    "text": "",
    "attachments": [],
}
for part in message.walk():
    if part.is_multipart():
        continue
    if part.get_content_disposition() == "attachment":
        content = part.get_payload(decode=True)
        entry = {"filename": part.get_filename(), "type": part.get_content_type(),
                 "base64": base64.b64encode(content).decode(), "text": ""}
        if entry["type"] == "application/pdf":
            with tempfile.NamedTemporaryFile(suffix=".pdf") as pdf:
                pdf.write(content)
                pdf.flush()
                # Runs of spaces that lay the columns out say nothing to a test.
                laid_out = subprocess.run(["pdftotext", "-layout", pdf.name, "-"],
                                          capture_output=True, text=True).stdout
                entry["text"] = re.sub(r"[ \t]+", " ", laid_out)
        result["attachments"].append(entry)
    elif part.get_content_type() == "text/plain":
        result["text"] = part.get_content()
json.dump(result, sys.stdout, ensure_ascii=False)
