// The workbench page: draws what /api/state reports and sends each click as
// one journal line to /api/action; the server announces every change on
// /api/events. The page keeps no model of its own.
import { drawWindow, quote } from './dialogs.js';
import { drawTree, markSelection } from './tree.js';

export const token = new URLSearchParams(location.search).get('token') ?? '';
const $ = (id) => document.getElementById(id);

export async function request(path, options = {}) {
  const response = await fetch(path, {
    ...options, headers: { 'X-Korvrc-Token': token, 'Content-Type': 'application/json' } });
  const body = response.headers.get('Content-Type')?.startsWith('application/json')
    ? await response.json() : await response.text();
  return { ok: response.ok, body };
}

function say(text, isError = false) {
  $('status').textContent = text;
  $('status').classList.toggle('error', isError);
}

// Actions are sent one after the other: requests sent together may be
// served in any order, and a name typed then OK pressed must arrive in that
// order.
let lastAction = Promise.resolve();
export function act(line) {
  const sent = lastAction.then(() => send(line));
  lastAction = sent.catch(() => false);
  return sent;
}

async function send(line) {
  const { ok, body } = await request('/api/action', { method: 'POST', body: JSON.stringify({ line }) });
  if (ok) say(body.output ? `${line}: ${body.output}` : line);
  else say(`${line}: ${body.error ?? body}`, true);
  // The event stream brings the state after it.
  return ok;
}

// "btnCreateTrackingStation" reads "Create Tracking Station".
function buttonLabel(id) {
  return id.replace(/^btn/, '').replace(/([a-z])([A-Z])/g, '$1 $2').replace(/([A-Z])([A-Z][a-z])/g, '$1 $2');
}

function drawToolbar(buttons) {
  $('toolbar').replaceChildren(...buttons.map((button) => {
    const node = document.createElement('button');
    node.textContent = buttonLabel(button.id);
    node.title = button.command;
    node.disabled = !button.available;
    node.dataset.action = `start ${button.id}`;
    node.addEventListener('click', () => act(`start ${button.id}`));
    return node;
  }));
}

function drawNode(node) {
  const item = document.createElement('li');
  const label = document.createElement('span');
  label.textContent = node.label;
  if (node.element) {
    label.dataset.element = node.element;
    label.addEventListener('click', () => act(`select ${quote(node.element)}`));
    label.addEventListener('dblclick', () => act(`edit ${quote(node.element)}`));
  }
  item.append(label);
  if (node.children.length) {
    const list = document.createElement('ul');
    list.append(...node.children.map(drawNode));
    item.append(list);
  }
  return item;
}

// The schematic changes with the model only: it is fetched once the model
// has been at rest for a moment, so that a burst of changes (a drag, a live
// tracking test) asks for it once, and the browser keeps each version.
const kSchematicRest = 400; // milliseconds
let schematicTimer;
function showSchematic(modelVersion) {
  const schematic = `/api/schematic.svg?token=${encodeURIComponent(token)}&v=${modelVersion}`;
  clearTimeout(schematicTimer);
  if ($('schematic').getAttribute('src') === schematic) return;
  schematicTimer = setTimeout(() => { $('schematic').src = schematic; }, kSchematicRest);
}

let drawn = 0;
// The state drawn last, tree and dialogs included; each drawing is also
// announced as a "korvrc:state" event for the panels in other modules (the
// 3D view).
export let lastState = null;
let unsaved = false;
// The tree and the dialogs the page holds, with their versions: the server
// leaves them out while the page holds their current version, and the tree
// of a large installation is most of the state.
let held = { tree: null, dialogs: null };
// What state gives for key, or what the page holds when state leaves it
// out; null when the page holds another version than the current one.
function current(state, key) {
  const version = state[`${key}Version`];
  if (key in state) return { version, value: state[key] };
  return held[key]?.version === version ? held[key] : null;
}

// Asks the whole state, as after a break in the event stream.
export async function refresh() {
  const { ok, body: state } = await request('/api/state');
  if (!ok) return say(state.error ?? 'the workbench does not answer', true);
  show(state);
}

// Draws a state, pushed after an action or asked for. States can arrive out
// of order (an answer overtaken by a push): an older one is never drawn
// over a newer.
let newestShown = 0;
function show(state) {
  if (state.stateVersion <= newestShown) return;
  newestShown = state.stateVersion;
  const tree = current(state, 'tree'), dialogs = current(state, 'dialogs');
  if (!tree || !dialogs) return refresh();
  drawToolbar(state.toolbar);
  if (tree !== held.tree) drawTree($('tree'), tree.value, drawNode);
  markSelection($('tree'), state.selection);
  // Drawn every time: a refused or adjusted value shows what the dialog holds.
  $('dialogs').replaceChildren(...dialogs.value.map((window) => drawWindow(window, act)));
  held = { tree, dialogs };
  $('save').disabled = !state.canSave;
  unsaved = state.unsaved;
  $('save').classList.toggle('unsaved', unsaved);
  for (const message of state.messages)
    say(`${message.title}: ${message.text} (${message.answer})`);
  showSchematic(state.modelVersion);
  document.body.dataset.drawn = String(++drawn);
  lastState = { ...state, tree: tree.value, dialogs: dialogs.value };
  document.dispatchEvent(new CustomEvent('korvrc:state', { detail: lastState }));
}

$('undo').addEventListener('click', () => act('undo'));
$('redo').addEventListener('click', () => act('redo'));
$('save').addEventListener('click', async () => {
  const { ok, body } = await request('/api/save', { method: 'POST', body: '{}' });
  say(ok ? `saved to ${body.path}` : body.error, !ok);
});
// Closing the page with changes not saved asks first.
window.addEventListener('beforeunload', (event) => {
  if (unsaved) event.preventDefault();
});
// The page's one event stream: each action's state, and the live tracking
// placements (tracking.js).
export const events = new EventSource(`/api/events?token=${encodeURIComponent(token)}`);
events.addEventListener('state', (event) => show(JSON.parse(event.data)));
// Once the stream is open, and again whenever it opens anew after a break
// (states may have been missed), the whole state.
events.addEventListener('open', () => {
  newestShown = 0; // a workbench started anew counts from the start
  refresh();
});
