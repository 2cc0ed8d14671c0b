#!/bin/sh
# Replays the example journals with `korvrc play` on the bundled example:
# - the export journal's XML file is the one `korvrc export` writes for the
#   same document;
# - the edit journal changes the document, and the same journal followed by
#   `undo` gives back the document as it was (the saved files are identical);
# - the build journal, replayed on the default configuration, makes a document
#   that exports the same runtime files as the imported example.
# Usage: journals_test.sh KORVRC EXAMPLES_FOLDER
set -eu
korvrc=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$korvrc" import "$examples/four-wall-room.json" -o "$work/room.kordoc" > /dev/null

# Export through the dialog, and through the command line.
mkdir "$work/played" "$work/exported"
KOR_JOURNAL_OUT="$work/played" "$korvrc" play "$examples/journals/export-configuration.journal" \
  "$work/room.kordoc" -o "$work/after-export.kordoc" > "$work/export.log" ||
  fail "the export journal was refused: $(cat "$work/export.log")"
"$korvrc" export "$work/room.kordoc" --dir "$work/exported" > /dev/null
[ -s "$work/played/FourWallRoom.xml" ] || fail "the export journal wrote no FourWallRoom.xml"
cmp "$work/played/FourWallRoom.xml" "$work/exported/FourWallRoom.xml" ||
  fail "the dialog's XML file differs from korvrc export's"

# The same document saved by a replay that changes nothing, to compare with.
printf 'journal/1\n' > "$work/nothing.journal"
"$korvrc" play "$work/nothing.journal" "$work/room.kordoc" -o "$work/unchanged.kordoc" > /dev/null

"$korvrc" play "$examples/journals/edit-configuration.journal" "$work/room.kordoc" \
  -o "$work/edited.kordoc" > "$work/edit.log" ||
  fail "the edit journal was refused: $(cat "$work/edit.log")"
grep -q '"Four wall room"' "$work/edited.kordoc" || fail "the edit journal did not rename"
if cmp -s "$work/edited.kordoc" "$work/unchanged.kordoc"; then
  fail "the edit journal changed nothing"
fi

{ cat "$examples/journals/edit-configuration.journal"; printf 'undo\n'; } > "$work/undone.journal"
"$korvrc" play "$work/undone.journal" "$work/room.kordoc" -o "$work/undone.kordoc" > /dev/null
cmp "$work/undone.kordoc" "$work/unchanged.kordoc" || fail "undo did not give back the document"
"$korvrc" play "$examples/journals/edit-views.journal" "$work/room.kordoc" \
  -o "$work/views.kordoc" > "$work/views.log" ||
  fail "the views journal was refused: $(cat "$work/views.log")"
grep -q '"Overview"' "$work/views.kordoc" || fail "the views journal made no camera view"

# The example built through the dialogs from the default configuration.
"$korvrc" play "$examples/journals/build-four-wall-room.journal" -o "$work/built.kordoc" \
  > "$work/build.log" || fail "the build journal was refused: $(cat "$work/build.log")"
mkdir "$work/built-files" "$work/imported-files"
"$korvrc" export "$work/built.kordoc" --dir "$work/built-files" --loose > /dev/null ||
  fail "the built document does not export"
"$korvrc" export "$work/room.kordoc" --dir "$work/imported-files" --loose > /dev/null
for file in FourWallRoom.mpk FourWallRoom.display FourWallRoom.Tracker.tracking; do
  [ -s "$work/imported-files/$file" ] || fail "korvrc export wrote no $file"
  [ -s "$work/built-files/$file" ] || fail "the built document exports no $file"
  cmp -s "$work/built-files/$file" "$work/imported-files/$file" ||
    fail "$file of the built document differs: $(diff "$work/built-files/$file" "$work/imported-files/$file")"
done

echo "journals replayed: export identical, undo identical, views edited, example built"
