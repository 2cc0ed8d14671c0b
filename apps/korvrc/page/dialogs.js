// Draws the open windows from their dump, generically: every widget kind has
// one drawing, and every change a person makes becomes one journal line
// handed to `act`. No dialog is drawn by name.

// A journal argument, quoted when it must be (docs/journal.md).
export function quote(text) {
  const value = String(text);
  if (value !== '' && !/[\s#"]/.test(value)) return value;
  return '"' + value.replace(/\\/g, '\\\\').replace(/"/g, '\\"') + '"';
}

function element(tag, properties = {}, children = []) {
  const node = Object.assign(document.createElement(tag), properties);
  for (const child of children) if (child) node.append(child);
  return node;
}

// A field that takes a path (the server marks it with its folder) shows the
// folder before it and a name inside it: the server takes a relative name
// inside the folder and refuses any path that leads out.
function folderPrefix(widget, input) {
  if (!widget.folder) return null;
  const value = input.value;
  if (value === widget.folder) input.value = '.';
  else if (value.startsWith(`${widget.folder}/`)) input.value = value.slice(widget.folder.length + 1);
  input.dataset.folder = widget.folder;
  return element('span', { className: 'folder', textContent: `${widget.folder}/` });
}

function field(widget, input, unit) {
  input.disabled = !widget.sensitive;
  input.dataset.widget = widget.name;
  const showsTitle = widget.title && widget.title !== widget.name;
  return element('label', { className: 'field' }, [showsTitle ? widget.title : null,
    folderPrefix(widget, input), input, unit ? element('span', { textContent: unit }) : null]);
}

const drawings = {
  frame: (widget, act) => element('div', { className: 'frame' }, children(widget, act)),
  separator: () => element('hr'),
  label: (widget) => element('div', { className: 'label', textContent: widget.value ?? widget.title }),
  editor: (widget, act) => {
    const input = element('input', { type: 'text', value: widget.value ?? '' });
    input.addEventListener('change', () => act(`set ${widget.name} ${quote(input.value)}`));
    return field(widget, input);
  },
  spinner: (widget, act) => {
    const input = element('input', { type: 'number', value: widget.value ?? 0 });
    if (widget.min !== undefined) input.min = widget.min;
    if (widget.max !== undefined) input.max = widget.max;
    if (widget.step > 0) input.step = widget.step;
    else input.step = 'any';
    input.addEventListener('change', () => act(`set ${widget.name} ${quote(input.value)}`));
    return field(widget, input, widget.unit);
  },
  check: (widget, act) => {
    const input = element('input', { type: 'checkbox', checked: widget.value === true });
    input.addEventListener('change', () => act(`set ${widget.name} ${input.checked ? 'on' : 'off'}`));
    return field(widget, input);
  },
  combo: (widget, act) => {
    const select = element('select', {}, (widget.lines ?? []).map((line, index) =>
      element('option', { value: String(index + 1), textContent: line, selected: line === widget.value })));
    if (widget.value === null) select.selectedIndex = -1;
    // By position: two lines may read the same.
    select.addEventListener('change', () => act(`choose ${widget.name} "#${select.value}"`));
    return field(widget, select);
  },
  push: (widget, act) => {
    const button = element('button', { textContent: widget.title, disabled: !widget.sensitive });
    button.dataset.widget = widget.name;
    button.addEventListener('click', () => act(`push ${widget.name}`));
    return button;
  },
  tabcontainer: (widget, act) => {
    const pages = (widget.widgets ?? []).filter((page) => page.visible);
    const tabs = element('div', { className: 'tabs' }, pages.map((page) => {
      const tab = element('button', { textContent: page.title,
        className: page.name === widget.value ? 'active' : '', disabled: !page.sensitive });
      tab.dataset.widget = page.name;
      tab.addEventListener('click', () => act(`tab ${page.name}`));
      return tab;
    }));
    const shown = pages.find((page) => page.name === widget.value);
    return element('div', { className: 'tabcontainer' },
      [tabs, shown ? element('div', { className: 'tabpage' }, children(shown, act)) : null]);
  },
  messagebox: (widget) => element('p', { textContent: widget.value ?? '' }),
  filebox: (widget, act) => {
    const input = element('input', { type: 'text', value: widget.value ?? '' });
    const choose = element('button', { textContent: 'Choose' });
    choose.dataset.action = 'file';
    choose.addEventListener('click', () => act(`file ${quote(input.value)}`));
    return element('div', {}, [field(widget, input), choose]);
  },
};

function draw(widget, act) {
  if (!widget.visible) return null;
  const drawing = drawings[widget.kind] ?? ((unknown) => element('div', { textContent: unknown.title }));
  const node = drawing(widget, act);
  if (!widget.sensitive) node.classList.add('insensitive');
  return node;
}

function children(widget, act) {
  return (widget.widgets ?? []).map((child) => draw(child, act));
}

function actionButton(label, line, act, enabled = true) {
  const button = element('button', { textContent: label, disabled: !enabled });
  button.dataset.action = line;
  button.addEventListener('click', () => act(line));
  return button;
}

// One open window: its title with the close button, its widgets and its
// own buttons (a dialog's OK, Apply and Cancel; a message box's answers).
export function drawWindow(window, act) {
  const buttons = window.kind === 'messagebox'
    ? ['ok', 'yes', 'no', 'cancel'].map((answer) => actionButton(answer, `answer ${answer}`, act))
    : window.kind === 'filebox'
      ? [actionButton('Cancel', 'answer cancel', act)]
      : (window.buttons ?? []).map((button) =>
          actionButton(button.name, `press ${button.name}`, act, button.sensitive));
  const body = window.kind === 'messagebox' || window.kind === 'filebox'
    ? [drawings[window.kind](window, act)] : children(window, act);
  const node = element('div', { className: 'window' }, [
    element('div', { className: 'title' }, [element('span', { textContent: window.title }),
      window.kind === 'dialog' ? actionButton('×', 'close', act) : null]),
    element('div', { className: 'body' }, body),
    element('div', { className: 'buttons' }, buttons),
  ]);
  node.dataset.window = window.name;
  return node;
}
