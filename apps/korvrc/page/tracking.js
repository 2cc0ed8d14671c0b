// The live tracking panel: while the test-tracking dialog's test runs, the
// server pushes the head's and hand device's placements as small "tracking"
// events (never the whole state), and the panel shows each one and how many
// it shows a second.
import { events } from './app.js';


function row(name) {
  const label = Object.assign(document.createElement('th'), { textContent: name });
  const value = document.createElement('td');
  value.dataset.tracking = name.toLowerCase();
  const line = document.createElement('tr');
  line.append(label, value);
  return { line, value };
}

const panel = Object.assign(document.createElement('section'), { id: 'tracking-panel' });
const title = Object.assign(document.createElement('h2'), { textContent: 'Live tracking' });
const status = Object.assign(document.createElement('p'), { textContent: 'not running' });
status.dataset.tracking = 'status';
const head = row('Head');
const hand = row('Hand');
const table = document.createElement('table');
table.append(head.line, hand.line);
panel.append(title, status, table);
document.querySelector('main').append(panel);

const fixed = (value) => value.toFixed(1);
const placementText = (placement) =>
  `${fixed(placement.x)} ${fixed(placement.y)} ${fixed(placement.z)} mm, ` +
  `hpr ${fixed(placement.h)} ${fixed(placement.p)} ${fixed(placement.r)}°`;

// When the last second's updates were shown.
const shownAt = [];
let updates = 0;
let ran = false;
function show(report) {
  head.value.textContent = placementText(report.head);
  hand.value.textContent = placementText(report.hand);
  const now = performance.now();
  shownAt.push(now);
  while (shownAt[0] < now - 1000) shownAt.shift();
  status.textContent = report.running
    ? `running: ${shownAt.length} updates a second, ${report.received} datagrams received ` +
      `(${report.skipped} skipped)`
    : ran ? 'stopped: head and hand put back' : 'ready: tick what to follow and press Start';
  ran ||= report.running;
  panel.dataset.rate = String(shownAt.length);
  panel.dataset.running = String(report.running);
  panel.dataset.updates = String(++updates);
}

events.addEventListener('tracking', (event) => show(JSON.parse(event.data)));
