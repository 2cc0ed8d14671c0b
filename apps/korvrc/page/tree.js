// Draws the specification tree again after each action without rebuilding
// what did not change: on a large installation the tree has thousands of
// nodes, and most actions change none or a few of them. A subtree equal to
// the one drawn before keeps its drawing; a node whose own text or element
// changed, or whose number of children changed, is drawn anew with its
// subtree by drawNode. The selection comes apart from the tree, as the paths
// (child indices from the root) of the selected nodes, and only moves marks.

const sameNode = (a, b) => a.label === b.label && a.element === b.element &&
  a.children.length === b.children.length;

// The drawing of node, reusing drawn (the drawing of was) where they agree.
function update(node, was, drawn, drawNode) {
  if (!was || !drawn || !sameNode(node, was)) return drawNode(node);
  const list = drawn.querySelector(':scope > ul');
  node.children.forEach((child, index) => {
    const before = list.children[index];
    const after = update(child, was.children[index], before, drawNode);
    if (after !== before) before.replaceWith(after);
  });
  return drawn;
}

export function drawTree(container, tree, drawNode) {
  const drawn = container.firstElementChild;
  const after = tree ? update(tree, container.drawnTree, drawn, drawNode) : null;
  if (after !== drawn) container.replaceChildren(...(after ? [after] : []));
  container.drawnTree = tree;
}

// The node of tree at path, or null when the tree has none there.
function nodeAt(tree, path) {
  let node = tree;
  for (const index of path) node = node?.children[index];
  return node ?? null;
}

// The drawing (the <li>) of the node at path in container's tree.
function drawingAt(container, path) {
  let item = container.firstElementChild;
  for (const index of path) item = item?.querySelector(':scope > ul')?.children[index];
  return item ?? null;
}

// Marks the labels of the selected nodes, and only them.
export function markSelection(container, selection) {
  for (const marked of container.querySelectorAll('.selected')) marked.classList.remove('selected');
  for (const path of selection)
    drawingAt(container, path)?.firstElementChild?.classList.add('selected');
}

// The journal names of the selected nodes that name an element.
export function selectedElements(tree, selection) {
  const names = new Set();
  for (const path of selection ?? []) {
    const element = nodeAt(tree, path)?.element;
    if (element) names.add(element);
  }
  return names;
}
