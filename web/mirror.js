// The program's accessibility tree in the page, for ChromeVox, VoiceOver and Orca. The program
// sends the whole tree whenever it changes (app/PageMirrorWeb.cpp); each object it tells a screen
// reader of becomes one element, with its role, name, description and state, transparent, in
// front of the canvas over its control, so that a finger exploring the screen or a reader's
// pointer finds it. What a finger or the mouse does on an element goes on to the canvas, where
// the program reads it; a screen reader's click on an element (its double tap) presses its
// control and a move to an element gives the control the focus; the focus the program moves is
// followed here. Keys pressed while an element has the focus go on to the canvas too.
'use strict';

// Called by app.js, which the page loads after this file.
function createMirror(canvas, root) {
  const tree = document.createElement('div');
  tree.className = 'tree';
  const words = document.createElement('div'); // the descriptions, read through their ids
  words.hidden = true;
  root.append(tree, words);
  const announcer = document.getElementById('announcer');
  const elements = new Map(); // the program's object id: its element
  const focusable = new Set(['button', 'radio', 'textbox', 'note', 'menuitem']);
  let program = null;
  let following = false; // the focus moved here after the program's, not by a screen reader
  let programFocus = null; // the object the program's focus was on at the last change

  function make(node) {
    const element = document.createElement(node.role === 'button' ? 'button' : 'div');
    element.dataset.role = node.role;
    if (node.role === 'button')
      element.type = 'button';
    else if (node.role)
      element.setAttribute('role', node.role);
    if (focusable.has(node.role))
      element.tabIndex = -1;
    element.addEventListener('click', (event) => { // a screen reader's (see passOn)
      event.preventDefault();
      event.stopPropagation(); // not its window's too
      if (program && program.mirrorPress)
        program.mirrorPress(node.id);
    });
    element.addEventListener('focus', () => {
      if (!following && program && program.mirrorFocus)
        program.mirrorFocus(node.id);
    });
    return element;
  }

  function setAttribute(element, name, value) {
    if (value === null || value === false || value === '')
      element.removeAttribute(name);
    else if (element.getAttribute(name) !== String(value))
      element.setAttribute(name, value);
  }

  function describe(element, id, text) {
    let said = document.getElementById(`mirror-${id}-words`);
    if (!text) {
      if (said)
        said.remove();
      setAttribute(element, 'aria-describedby', null);
      return;
    }
    if (!said) {
      said = document.createElement('span');
      said.id = `mirror-${id}-words`;
      words.append(said);
    }
    if (said.textContent !== text)
      said.textContent = text;
    setAttribute(element, 'aria-describedby', said.id);
  }

  // A leaf shows its words as its text: a button or a menu's item its caption, a counter its
  // digits, the explanation its lines, a box's message its text.
  function show(element, node) {
    const named = ['button', 'menuitem', ''].includes(node.role);
    const text = named ? node.name
               : node.role === 'textbox' || node.role === 'note' ? node.value : null;
    if (text !== null && element.textContent !== text)
      element.textContent = text;
    const label = named ? null : node.name;
    setAttribute(element, 'aria-label', label);
    describe(element, node.id, node.role === 'alertdialog' ? node.value : node.description);
    setAttribute(element, 'aria-disabled', node.disabled && 'true');
    if (node.role === 'radio')
      setAttribute(element, 'aria-checked', node.checked ? 'true' : 'false');
    setAttribute(element, 'aria-readonly', (node.role === 'textbox' || node.role === 'note') && 'true');
    setAttribute(element, 'aria-modal', node.role === 'alertdialog' && 'true');
  }

  function sync(json) {
    const nodes = JSON.parse(json);
    const byId = new Map(nodes.map((node) => [node.id, node]));
    const placed = new Map(); // each parent element: the child placed last
    const modal = nodes.some((node) => node.modal);
    let focused = null;
    let focusedId = null;
    for (const node of nodes) {
      let element = elements.get(node.id);
      if (!element || element.dataset.role !== node.role) {
        if (element)
          element.remove();
        element = make(node);
        elements.set(node.id, element);
      }
      const parent = node.parent ? elements.get(node.parent) : tree;
      const previous = placed.get(parent);
      const next = previous ? previous.nextSibling : parent.firstElementChild;
      if (element !== next)
        parent.insertBefore(element, next);
      placed.set(parent, element);
      // Placed inside its parent's element, which is placed in the same way.
      const outer = byId.get(node.parent) || { x: 0, y: 0 };
      Object.assign(element.style, { left: `${node.x - outer.x}px`, top: `${node.y - outer.y}px`,
                                     width: `${node.width}px`, height: `${node.height}px` });
      show(element, node);
      if (!node.parent)
        element.inert = modal && !node.modal;
      if (node.focused) {
        focused = element;
        focusedId = node.id;
      }
    }
    for (const [id, element] of elements) {
      if (!byId.has(id)) {
        element.remove();
        describe(element, id, null);
        elements.delete(id);
      }
    }
    // Where the program moves its focus, the reader's follows; where it has not moved it, the
    // reader's stays where the reader put it, the program's following on its way.
    const active = document.activeElement;
    const moved = focusedId !== programFocus;
    programFocus = focusedId;
    if (focused && moved && active !== focused &&
        (active === canvas || active === document.body || root.contains(active))) {
      following = true;
      focused.focus({ preventScroll: true });
      following = false;
    }
  }

  // Spoken once, as the program gives it; cleared first, so that the same words are said again.
  function announce(text) {
    announcer.textContent = '';
    setTimeout(() => { announcer.textContent = text; }, 50);
  }

  // WebKitGTK names Shift+Tab "Unidentified" (its key is GTK's ISO_Left_Tab): it is Tab.
  const keyOf = (event) => (event.key === 'Unidentified' && (event.code === 'Tab' || event.keyCode === 9)
                            ? 'Tab' : event.key);

  function forward(event) {
    if (!event.isTrusted)
      return; // the copy below
    const onCanvas = event.target === canvas;
    const key = keyOf(event);
    if (!root.contains(event.target) && !(onCanvas && key !== event.key))
      return; // the canvas reads its own keys
    const copy = new KeyboardEvent(event.type, {
      key, code: event.code, location: event.location, repeat: event.repeat,
      ctrlKey: event.ctrlKey, shiftKey: event.shiftKey, altKey: event.altKey, metaKey: event.metaKey,
      keyCode: event.keyCode, which: event.which, charCode: event.charCode,
      bubbles: true, cancelable: true,
    });
    canvas.dispatchEvent(copy);
    // Tab, Enter and Space are the program's, as on the canvas: the browser must neither move
    // its own focus nor press the element a second time.
    if (copy.defaultPrevented || ['Tab', 'Enter', ' '].includes(key))
      event.preventDefault();
    event.stopPropagation();
  }
  document.addEventListener('keydown', forward, true);
  document.addEventListener('keyup', forward, true);

  // A mouse or a finger on an element is on the canvas: each of their events goes on to it as it
  // came, and the element itself does nothing with it (no focus, no press). The program presses
  // a button on the mouse's release and on a finger's; a click on the element that such a press
  // began on, just after its release, is that same press (a sighted click's last event; or
  // VoiceOver's double tap, which sends the pointer's events at an element's middle and clicks
  // it at most about 80 ms later). A click alone is a screen reader's press of the element.
  let pressedOn = null;
  let released = { on: null, at: -Infinity };
  window.addEventListener('pointerdown', (event) => {
    if (event.isTrusted || event.target !== canvas) // not our copy
      pressedOn = root.contains(event.target) ? event.target : null;
  }, true);
  window.addEventListener('pointerup', (event) => { // wherever it lands (the canvas may hold the
    if (event.pointerType === 'mouse') // mouse), once the program has taken it
      released = { on: pressedOn, at: performance.now() };
  });
  const onPicture = (target) => target === canvas || root.contains(target);
  // Whether a crossing of the pointer stays on the picture: between elements, or between an
  // element and the canvas (WebKit names nothing it crosses to when the canvas lets the mouse go).
  const stays = (event) => (event.relatedTarget ? onPicture(event.relatedTarget)
    : /leave|out/.test(event.type) && onPicture(document.elementFromPoint(event.clientX, event.clientY)));
  function copyOf(event) {
    try {
      return new event.constructor(event.type, event); // the event itself is its own init
    } catch (notConstructible) { // a TouchEvent, in browsers that let a page make none
      const copy = new Event(event.type, event);
      for (const name of ['touches', 'targetTouches', 'changedTouches', 'ctrlKey', 'shiftKey', 'altKey', 'metaKey'])
        Object.defineProperty(copy, name, { value: event[name] });
      return copy;
    }
  }
  function passOn(event) {
    if (event.target === root || !root.contains(event.target))
      return;
    if (event.type === 'click' && !(released.on && event.target.contains(released.on) &&
                                     performance.now() - released.at <= 80))
      return; // a screen reader's press: the element's own
    event.stopPropagation();
    if (/(over|out|enter|leave)$/.test(event.type) && stays(event))
      return;
    if (event.cancelable && !event.type.startsWith('pointer'))
      event.preventDefault(); // no focus, no click after a tap, no browser menu, no scroll
    if (event.type === 'pointerdown' || event.type === 'touchstart')
      canvas.focus({ preventScroll: true }); // as a press on the canvas moves it
    if (event.type === 'touchend')
      released = { on: event.target, at: performance.now() };
    canvas.dispatchEvent(copyOf(event));
  }
  for (const type of ['pointerdown', 'pointermove', 'pointerup', 'pointercancel', 'pointerover',
    'pointerout', 'pointerenter', 'pointerleave', 'mousedown', 'mousemove', 'mouseup', 'mouseover',
    'mouseout', 'mouseenter', 'mouseleave', 'click', 'dblclick', 'auxclick', 'contextmenu', 'wheel',
    'touchstart', 'touchmove', 'touchend', 'touchcancel'])
    root.addEventListener(type, passOn, { capture: true, passive: false });
  // Nor are the canvas's own crossings to and from an element.
  const crossing = (event) => {
    if (event.target === canvas && event.isTrusted && stays(event))
      event.stopImmediatePropagation();
  };
  for (const type of ['pointerover', 'pointerout', 'pointerenter', 'pointerleave', 'mouseover', 'mouseout',
    'mouseenter', 'mouseleave'])
    window.addEventListener(type, crossing, true);
  // The pointer's shape over an element is the one the program gives the canvas.
  const sameCursor = () => { root.style.cursor = canvas.style.cursor; };
  new MutationObserver(sameCursor).observe(canvas, { attributes: true, attributeFilter: ['style'] });
  sameCursor();

  return {
    sync,
    announce,
    attach(module) { program = module; },
  };
}
