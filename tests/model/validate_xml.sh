#!/bin/sh
# Validates the XML configuration documents against their document type.
#   validate_xml.sh <exported-folder> <hand-written-folder>
# Every document of <exported-folder> (written by the export tests) and every
# valid*.xml of <hand-written-folder> must be valid; every invalid*.xml there
# must be rejected. Fails when the export tests wrote no document.
exported="$1"
handwritten="$2"
status=0

must_pass() {
  if ! xmllint --noout --valid "$1"; then
    echo "FAIL: $1 should be valid" >&2
    status=1
  fi
}

must_fail() {
  if xmllint --noout --valid "$1" 2>/dev/null; then
    echo "FAIL: $1 should be rejected" >&2
    status=1
  fi
}

count=0
for document in "$exported"/*.xml; do
  [ -f "$document" ] || continue
  must_pass "$document"
  count=$((count + 1))
done
if [ "$count" -eq 0 ]; then
  echo "FAIL: no exported document in $exported" >&2
  exit 1
fi

checked=0
for document in "$handwritten"/valid*.xml; do
  [ -f "$document" ] || continue
  must_pass "$document"
  checked=$((checked + 1))
done
for document in "$handwritten"/invalid*.xml; do
  [ -f "$document" ] || continue
  must_fail "$document"
  checked=$((checked + 1))
done
if [ "$checked" -eq 0 ]; then
  echo "FAIL: no hand-written document in $handwritten" >&2
  exit 1
fi

echo "$count exported and $checked hand-written documents checked"
exit $status
