// The 3D view: the scene as /api/scene.glb draws it, one piece per element
// (named by its journal name), orbit navigation, clicks sent as `select` (or
// as `pick ... at X Y Z` to a running command), double-clicks as `edit`, the
// workbench's selection (which the tree shows too) highlighted, and a
// translate manipulator on the selected element when it can be dragged,
// sending one `drag` when let go. After every change only the pieces whose
// version moved are loaded again. The world frame is the model's:
// millimetres, Z up.
import * as THREE from 'three';
import { OrbitControls } from 'three/addons/controls/OrbitControls.js';
import { TransformControls } from 'three/addons/controls/TransformControls.js';
import { GLTFLoader } from 'three/addons/loaders/GLTFLoader.js';
import { act, request, lastState, token } from './app.js';
import { quote } from './dialogs.js';
import { selectedElements } from './tree.js';

const panel = document.getElementById('scene');
const renderer = new THREE.WebGLRenderer({ antialias: true, preserveDrawingBuffer: true });
renderer.setPixelRatio(window.devicePixelRatio);
panel.append(renderer.domElement);

const scene = new THREE.Scene();
scene.background = new THREE.Color(0xf2f4f7);
const camera = new THREE.PerspectiveCamera(40, 1, 10, 200000);
camera.up.set(0, 0, 1);
const orbit = new OrbitControls(camera, renderer.domElement);
const manipulator = new TransformControls(camera, renderer.domElement);
scene.add(manipulator.getHelper());
const pieces = new THREE.Group();
scene.add(pieces);
const highlightColour = new THREE.Color(0xff7a00);

// name -> { pivot, version, draggable }
const shown = new Map();
let commandRunning = false;
let selected = new Set();
let fitted = false;

function render() {
  renderer.render(scene, camera);
}
orbit.addEventListener('change', render);
manipulator.addEventListener('change', render);

function resize() {
  const { clientWidth: width, clientHeight: height } = panel;
  if (!width || !height) return;
  renderer.setSize(width, height);
  camera.aspect = width / height;
  camera.updateProjectionMatrix();
  render();
}
new ResizeObserver(resize).observe(panel);

const millimetresPerUnit = 1000;
// A glTF piece (metres, Y up) as the model's millimetres with Z up, under a
// pivot at its centre: the manipulator moves the pivot, so it sits on the
// element rather than at the model's origin.
function pivotFor(name, node) {
  const model = new THREE.Group();
  model.rotation.x = Math.PI / 2;
  model.scale.setScalar(millimetresPerUnit);
  model.add(node);
  model.updateMatrixWorld(true);
  const centre = new THREE.Box3().setFromObject(model).getCenter(new THREE.Vector3());
  if (!Number.isFinite(centre.x)) centre.set(0, 0, 0);
  model.position.copy(centre).negate();
  const pivot = new THREE.Group();
  pivot.position.copy(centre);
  pivot.add(model);
  pivot.userData.element = name;
  pivot.traverse((object) => {
    if (object.material) object.userData.look = object.material;
  });
  return pivot;
}

function dispose(pivot) {
  pivot.traverse((object) => {
    object.geometry?.dispose();
    object.userData.look?.dispose();
    object.userData.highlightLook?.dispose();
  });
}

function highlight(pivot, on) {
  pivot.traverse((object) => {
    if (!object.userData.look) return;
    if (on && !object.userData.highlightLook) {
      object.userData.highlightLook = object.userData.look.clone();
      object.userData.highlightLook.color.copy(highlightColour);
    }
    object.material = on ? object.userData.highlightLook : object.userData.look;
  });
}

// The manipulator sits on the one selected element when it can be dragged.
function placeManipulator() {
  const [only] = selected.size === 1 ? selected : [];
  const target = shown.get(only);
  if (target?.draggable) {
    if (manipulator.object !== target.pivot) manipulator.attach(target.pivot);
  } else if (manipulator.object) {
    manipulator.detach();
  }
  panel.dataset.manipulated = manipulator.object?.userData.element ?? '';
}

function fit() {
  const box = new THREE.Box3().setFromObject(pieces);
  if (box.isEmpty()) return;
  const centre = box.getCenter(new THREE.Vector3());
  const size = box.getSize(new THREE.Vector3()).length();
  // Far enough for the bounding sphere to fit the narrower field of view.
  const vertical = THREE.MathUtils.degToRad(camera.fov);
  const horizontal = 2 * Math.atan(Math.tan(vertical / 2) * camera.aspect);
  const distance = (size / 2) / Math.sin(Math.min(vertical, horizontal) / 2);
  orbit.target.copy(centre);
  camera.position.copy(centre)
    .add(new THREE.Vector3(-0.75, -0.55, 0.4).normalize().multiplyScalar(distance));
  camera.near = size / 1000;
  camera.far = size * 20;
  camera.updateProjectionMatrix();
  orbit.update();
  fitted = true;
}

// The server reads addresses of up to 8 KiB: the pieces are asked for in
// batches whose query stays well below that, and the whole scene in one
// request without names.
const kQueryBytes = 6000;
function batches(names) {
  const queries = [];
  let query = '';
  for (const name of names) {
    const part = `element=${encodeURIComponent(name)}`;
    if (query && query.length + 1 + part.length > kQueryBytes) {
      queries.push(query);
      query = '';
    }
    query = query ? `${query}&${part}` : part;
  }
  if (query) queries.push(query);
  return queries;
}

async function loadBatch(query) {
  const response = await fetch(`/api/scene.glb${query ? `?${query}` : ''}`,
    { headers: { 'X-Korvrc-Token': token } });
  if (!response.ok) return [];
  const glb = await new GLTFLoader().parseAsync(await response.arrayBuffer(), '');
  const root = glb.scene.children[0];
  return [...(root?.children ?? [])].map((node) => [node.userData.name, node]);
}

// The named pieces by name; iAll: every piece of the scene.
async function loadPieces(names, all) {
  const loaded = await Promise.all(all ? [loadBatch('')] : batches(names).map(loadBatch));
  return new Map(loaded.flat());
}

let updating = Promise.resolve();
// Brings the view to the server's scene; one update at a time, in order.
function update() {
  updating = updating.then(async () => {
    const { ok, body } = await request('/api/scene');
    if (!ok) return;
    commandRunning = body.commandRunning;
    panel.dataset.commandRunning = String(commandRunning);
    const wanted = new Map(body.elements.map((element) => [element.name, element]));
    // Drawing the view is the costly part on a software renderer: it is
    // drawn again only when something in it changed.
    let changed = false;
    for (const [name, piece] of shown)
      if (!wanted.has(name)) {
        if (manipulator.object === piece.pivot) manipulator.detach();
        pieces.remove(piece.pivot);
        dispose(piece.pivot);
        shown.delete(name);
        changed = true;
      }
    const stale = body.elements.filter((element) => shown.get(element.name)?.version !== element.version);
    const loaded = stale.length
      ? await loadPieces(stale.map((element) => element.name), stale.length === body.elements.length)
      : new Map();
    for (const element of stale) {
      const node = loaded.get(element.name);
      if (!node) continue;
      const before = shown.get(element.name);
      if (before) {
        if (manipulator.object === before.pivot) manipulator.detach();
        pieces.remove(before.pivot);
        dispose(before.pivot);
      }
      const pivot = pivotFor(element.name, node);
      pieces.add(pivot);
      shown.set(element.name, { pivot, version: element.version, draggable: element.draggable });
      changed = true;
    }
    for (const [name, piece] of shown) {
      piece.draggable = wanted.get(name).draggable;
      const on = selected.has(name);
      if (piece.highlighted === on) continue;
      highlight(piece.pivot, on);
      piece.highlighted = on;
      changed = true;
    }
    const manipulated = manipulator.object;
    placeManipulator();
    if (!fitted) fit();
    if (changed || manipulator.object !== manipulated) render();
    panel.dataset.elements = [...shown.keys()].join(' ');
    panel.dataset.highlighted = [...shown.keys()].filter((name) => selected.has(name)).join(' ');
    panel.dataset.updated = String(Number(panel.dataset.updated ?? 0) + 1);
  }).catch((error) => console.error('the 3D view could not be updated:', error));
  return updating;
}

function showState(state) {
  selected = selectedElements(state.tree, state.selection);
  update();
}
document.addEventListener('korvrc:state', (event) => showState(event.detail));
if (lastState) showState(lastState);

// The element under a point of the canvas and the model point hit.
const raycaster = new THREE.Raycaster();
function hit(event) {
  const bounds = renderer.domElement.getBoundingClientRect();
  const pointer = new THREE.Vector2(((event.clientX - bounds.left) / bounds.width) * 2 - 1,
    -((event.clientY - bounds.top) / bounds.height) * 2 + 1);
  raycaster.setFromCamera(pointer, camera);
  // Lines are picked within a few pixels, whatever the distance; three
  // measures the threshold in the lines' own units, the glTF file's metres.
  raycaster.params.Line.threshold =
    camera.position.distanceTo(orbit.target) * 0.006 / millimetresPerUnit;
  raycaster.params.Points.threshold = raycaster.params.Line.threshold;
  for (const found of raycaster.intersectObjects(pieces.children, true)) {
    let object = found.object;
    while (object && !object.userData.element) object = object.parent;
    if (object) return { element: object.userData.element, point: found.point };
  }
  return null;
}

const millimetres = (value) => String(Math.round(value * 1000) / 1000);

// A click offers the element to the running command as a pick first; when
// no command runs or the command does not take it, the element is selected.
async function clicked(event) {
  const found = hit(event);
  if (!found) return;
  const name = quote(found.element);
  if (commandRunning) {
    const { x, y, z } = found.point;
    if (await act(`pick ${name} at ${millimetres(x)} ${millimetres(y)} ${millimetres(z)}`)) return;
  }
  await act(`select ${name}`);
}

let pressedAt = null;
renderer.domElement.addEventListener('pointerdown', (event) => {
  // A press on the manipulator's handles is the manipulator's.
  pressedAt = manipulator.axis ? null : { x: event.clientX, y: event.clientY };
});
renderer.domElement.addEventListener('pointerup', (event) => {
  const still = pressedAt && Math.hypot(event.clientX - pressedAt.x, event.clientY - pressedAt.y) < 4;
  pressedAt = null;
  if (still && event.button === 0) clicked(event);
});
renderer.domElement.addEventListener('dblclick', (event) => {
  const found = hit(event);
  if (found) act(`edit ${quote(found.element)}`);
});

// Moves an element by a displacement in model millimetres: one `drag` line,
// so the whole move is one step of the history. What the manipulator calls
// when it is let go. Resolves with whether the workbench took it.
export async function dragElement(name, displacement) {
  const [x, y, z] = displacement.map(millimetres);
  return act(`drag ${quote(name)} by ${x} ${y} ${z}`);
}

let dragStart = null;
manipulator.addEventListener('dragging-changed', async (event) => {
  orbit.enabled = !event.value;
  const pivot = manipulator.object;
  if (!pivot) return;
  if (event.value) {
    dragStart = pivot.position.clone();
    return;
  }
  const moved = pivot.position.clone().sub(dragStart);
  if (moved.length() === 0) return;
  const taken = await dragElement(pivot.userData.element, moved.toArray());
  // A refused drag leaves the element where the model has it; a taken one
  // is drawn anew at its new place by the update that follows.
  if (!taken) {
    pivot.position.copy(dragStart);
    render();
  }
});

// Where a model point shows on the page (client pixels).
function onPage(point) {
  const bounds = renderer.domElement.getBoundingClientRect();
  const projected = point.clone().project(camera);
  return { x: bounds.left + (projected.x + 1) / 2 * bounds.width,
    y: bounds.top + (1 - projected.y) / 2 * bounds.height };
}

// Where a model point [x, y, z] shows on the page.
export function pointOnPage(point) {
  return onPage(new THREE.Vector3(...point));
}

// Where an element's centre shows on the page, or null when it is not shown.
export function elementOnPage(name) {
  const piece = shown.get(name);
  return piece ? onPage(piece.pivot.getWorldPosition(new THREE.Vector3())) : null;
}

// Where a person grabs the manipulator's arrow along 'X', 'Y' or 'Z', and the
// unit direction in which that arrow points on the page; null without a
// manipulator. The arrow's length follows the manipulator's own scaling
// (its size times a factor of the distance and the field of view).
export function manipulatorGrip(axis) {
  const pivot = manipulator.object;
  if (!pivot) return null;
  const origin = pivot.getWorldPosition(new THREE.Vector3());
  const factor = origin.distanceTo(camera.position) *
    Math.min(1.9 * Math.tan(Math.PI * camera.fov / 360) / camera.zoom, 7) * manipulator.size / 4;
  const along = new THREE.Vector3(...['X', 'Y', 'Z'].map((name) => (name === axis ? 1 : 0)));
  const grip = onPage(origin.clone().addScaledVector(along, 0.45 * factor));
  const tip = onPage(origin.clone().addScaledVector(along, 0.9 * factor));
  const length = Math.hypot(tip.x - grip.x, tip.y - grip.y);
  return { x: grip.x, y: grip.y, dx: (tip.x - grip.x) / length, dy: (tip.y - grip.y) / length };
}
