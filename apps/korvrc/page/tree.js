// Draws the specification tree again after each action without rebuilding
// what did not change: on a large installation the tree has thousands of
// nodes, and most actions change none or a few of them. A subtree equal to
// the one drawn before keeps its drawing; a node whose own text, element or
// selection changed, or whose number of children changed, is drawn anew
// with its subtree by drawNode.

const sameNode = (a, b) => a.label === b.label && a.element === b.element &&
  a.selected === b.selected && a.children.length === b.children.length;

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
