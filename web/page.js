'use strict';
// The page: the wizard's choices as a form whose state is the address, estimated by the engine
// compiled to WebAssembly (cocomo.js and cocomo.wasm).
(() => {
  // The rows and columns in the wizard's words, in the engine's order.
  const DRIVERS = [
    'ACAP Analyst Capability', 'AEXP Application Experience', 'CPLX Product Complexity',
    'DATA Database Size', 'LEXP Language Experience', 'MODP Modern Prog Practices',
    'PCAP Programmer Capability', 'RELY Required Soft Reliability', 'SCED Req Development Sch',
    'STOR Storage Constraint', 'TIME Exec. Time Constraint', 'TOOL Use of Software Tools',
    'TURN Comp.Turnaround Time', 'VEXP Virtual Machine Exp.', 'VIRT Virtual Machine Volatility',
  ];
  const STEPS = [['Very Low', 'VL'], ['Low', 'L'], ['Nominal', 'N'], ['High', 'H'],
    ['Very High', 'VH'], ['Extra High', 'EH']];
  const NOMINAL = 2;
  const PHASES = ['Requirements', 'Product Design', 'Detailed Design', 'Code and Unit Test',
    'Integration and Test', 'Maintenance'];
  const COLUMNS = [['Small', '2 KDSI'], ['Intermediate', '8 KDSI'], ['Medium', '32 KDSI'],
    ['Large', '128 KDSI']];
  const MODELS = ['Basic', 'Intermediate', 'Advanced'];
  const MODES = ['Organic', 'Semidetached', 'Embedded'];
  // As the results write the modes.
  const MODES_SHOWN = ['Organic', 'Semi-detached', 'Embedded'];
  // Longer than the size box takes, a size in the address is not read.
  const SIZE_LIMIT = 32;

  const $ = (id) => document.getElementById(id);

  // The WebAssembly compiles while the page is laid out. A page opened from a file may not
  // read another file, but may run a script: there the same WebAssembly arrives as a script's
  // text.
  const engineLoaded = new Promise((resolve, reject) => {
    if (location.protocol !== 'file:') {
      CocomoEngine({}).then(resolve, reject);
      return;
    }
    const script = document.createElement('script');
    script.src = 'cocomo-wasm.js';
    script.onload = () => CocomoEngine({
      wasmBinary: Uint8Array.from(atob(window.cocomoWasm), (c) => c.charCodeAt(0)),
    }).then(resolve, reject);
    script.onerror = reject;
    document.body.append(script);
  });
  const form = $('estimate');
  const lines = $('lines');
  const separator = new Intl.NumberFormat(navigator.language).formatToParts(0.5)
    .find((part) => part.type === 'decimal').value;

  function element(tag, attributes, ...children) {
    const made = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
      made.setAttribute(name, value);
    }
    made.append(...children);
    return made;
  }

  // A radio labelled "Very Low (VL)" that shows VL alone where the columns are headed.
  function radio(name, value, [long, short]) {
    return element('label', {},
      element('input', { type: 'radio', name, value }),
      element('span', { class: 'long' }, `${long} (`), short, element('span', { class: 'long' }, ')'));
  }

  // One fieldset a row, under a header of the columns that only the eye needs.
  function grid(container, prefix, rows, columns) {
    container.append(element('div', { class: 'heads', 'aria-hidden': 'true' },
      ...columns.map(([long, short]) => element('span', {}, `${long} (${short})`))));
    rows.forEach((caption, row) => {
      container.append(element('fieldset', { class: 'row' }, element('legend', {}, caption),
        element('div', { class: 'cells' },
          ...columns.map((column, index) => radio(`${prefix}${row}`, index, column)))));
    });
  }

  grid($('drivers'), 'd', DRIVERS, STEPS);
  grid($('phases'), 'p', PHASES, COLUMNS);
  $('phases').append($('clear-phases'));

  const checked = (name) => form.querySelector(`input[name="${name}"]:checked`);
  const choose = (name, value) => {
    const input = form.querySelector(`input[name="${name}"][value="${value}"]`);
    if (input === null || input.disabled) {
      return false;
    }
    input.checked = true;
    return true;
  };
  const code = (name) => Number(checked(name).value);
  const forEachRow = (count, visit) => Array.from({ length: count }, (_, row) => visit(row));
  function resetChoices() {
    choose('model', 1);
    choose('mode', 1);
    forEachRow(DRIVERS.length, (row) => choose(`d${row}`, NOMINAL));
    clearPhases();
  }
  function clearPhases() {
    form.querySelectorAll('#phases input').forEach((input) => { input.checked = false; });
  }

  function showFactors() {
    form.classList.toggle('with-factors', code('model') !== 1);
    $('drivers').hidden = code('model') !== 2;
    $('phases').hidden = code('model') !== 3;
  }

  let engine = null;
  // The command line's words are the wizard's captions: a driver's first word, a step's
  // letters, and the rest in small letters, hyphens for blanks.
  const word = (caption) => caption.toLowerCase().replaceAll(' ', '-');
  const words = {
    models: MODELS.map(word),
    modes: MODES.map(word),
    otherModes: MODES_SHOWN.map(word),
    drivers: DRIVERS.map((caption) => caption.split(' ')[0]),
    steps: STEPS.map(([, short]) => short),
    longSteps: STEPS.map(([long]) => word(long)),
    phases: PHASES.map(word),
    columns: COLUMNS.map(([long]) => word(long)),
    kdsi: COLUMNS.map(([, kdsi]) => kdsi.split(' ')[0]),
  };

  // Each row's choice as a digit for the engine, '-' for a row left alone.
  function choices(prefix, count) {
    return forEachRow(count, (row) => checked(`${prefix}${row}`)?.value ?? '-').join('');
  }

  // The address in the command line's words: the model, the mode, the ratings other than
  // Nominal, the phases chosen and the size as typed.
  function address() {
    const parts = [`model=${words.models[code('model') - 1]}`,
      `mode=${words.modes[code('mode') - 1]}`];
    forEachRow(DRIVERS.length, (row) => {
      const step = code(`d${row}`);
      if (step !== NOMINAL) {
        parts.push(`${words.drivers[row]}=${words.steps[step]}`);
      }
    });
    forEachRow(PHASES.length, (row) => {
      const column = checked(`p${row}`);
      if (column !== null) {
        parts.push(`${words.phases[row]}=${words.columns[column.value]}`);
      }
    });
    if (lines.value !== '') {
      parts.push(`lines=${encodeURIComponent(lines.value)}`);
    }
    return parts.join('&');
  }

  function remember() {
    history.replaceState(null, '', `#${address()}`);
  }

  const same = (a, b) => a.toLowerCase() === b.toLowerCase();
  const indexIn = (list, word) => list.findIndex((known) => same(known, word));

  // Sets one word of the address on the form; false for a word the page does not know.
  function read(key, value) {
    if (value === null) {
      return false;
    }
    if (same(key, 'lines')) {
      lines.value = value.length <= SIZE_LIMIT ? value : lines.value;
      return value.length <= SIZE_LIMIT;
    }
    if (same(key, 'model')) {
      return choose('model', indexIn(words.models, value) + 1);
    }
    if (same(key, 'mode')) {
      const mode = Math.max(indexIn(words.modes, value), indexIn(words.otherModes, value));
      return choose('mode', mode + 1);
    }
    const driver = indexIn(words.drivers, key);
    if (driver >= 0) {
      return choose(`d${driver}`, Math.max(indexIn(words.steps, value),
        indexIn(words.longSteps, value)));
    }
    const phase = indexIn(words.phases, key);
    return phase >= 0 && choose(`p${phase}`, Math.max(indexIn(words.columns, value),
      indexIn(words.kdsi, value)));
  }

  // Reads the address onto the form, which starts afresh; the words it does not know are
  // listed and left alone.
  function readAddress() {
    resetChoices();
    lines.value = '';
    const ignored = [];
    for (const part of location.hash.replace(/^#/, '').split('&')) {
      if (part === '') {
        continue;
      }
      const equals = part.indexOf('=');
      let key = part;
      let value = null;
      try {
        key = decodeURIComponent(equals < 0 ? part : part.slice(0, equals));
        value = equals < 0 ? null : decodeURIComponent(part.slice(equals + 1));
      } catch {
        key = part;
        value = null;
      }
      if (!read(key, value)) {
        ignored.push(value === null ? key : `${key}=${value}`);
      }
    }
    const notice = $('ignored');
    notice.replaceChildren(...(ignored.length === 0 ? [] : [
      'Not understood in the address, and ignored: ',
      ignored.map((word) => `“${word}”`).join(', '), '.']));
  }

  const fixed = (value, decimals) => value.toFixed(decimals).replace('.', separator);

  // The lines under the figures: how each was obtained, as the wizard's results say it.
  function explain(model, mode, figure, shown) {
    const k = (which) => engine.coefficient(model, mode, which);
    const thousands = String(figure(4) / 1000).replace('.', separator);
    let effort = `Effort = ${fixed(k(0), 1)} x ${thousands}^${fixed(k(1), 2)}`;
    if (k(4) !== 0) {
      effort += ` x EAF ${fixed(figure(3), 2)}`;
    }
    return [
      `${effort} = ${shown[0]} staff-months (the work of one person for that many months)`,
      `TDEV = ${fixed(k(2), 1)} x Effort^${fixed(k(3), 2)} = ${shown[1]} months (calendar time)`,
      `Average staffing = Effort / TDEV = ${shown[2]} people`,
    ];
  }

  const FIGURES = ['effort', 'tdev', 'staffing'];

  function show(estimate) {
    FIGURES.forEach((id, which) => {
      const figure = $(id);
      figure.textContent = estimate ? estimate.shown[which] : '';
      if (estimate) {
        // The shortest text that reads back as the same double.
        figure.dataset.value = String(estimate.values[which]);
      } else {
        delete figure.dataset.value;
      }
      $(`${id}-how`).textContent = estimate ? estimate.how[which] : '';
    });
    $('how-title').hidden = !estimate;
  }

  // Estimates from the form, or, when the size is blank and no calculation was asked for,
  // shows no figures.
  function update(asked) {
    const model = code('model');
    const mode = code('mode');
    showFactors();
    $('results-title').textContent = `Results for the ${MODELS[model - 1]} Model`;
    $('shown-model').textContent = MODELS[model - 1];
    $('shown-mode').textContent = MODES_SHOWN[mode - 1];
    const alert = $('error');
    if (engine === null || (!asked && lines.value.trim() === '')) {
      alert.replaceChildren();
      show(null);
      return;
    }
    const factors = model === 2 ? choices('d', DRIVERS.length) : choices('p', PHASES.length);
    const error = engine.calculate(model, mode, lines.value, factors);
    if (error !== 0) {
      show(null);
      alert.replaceChildren(...[0, 1, 2].map((which) => element('p', {}, engine.error(which))));
      return;
    }
    alert.replaceChildren();
    const figure = (which) => engine.figure(which);
    const shown = [0, 1, 2].map((which) => engine.shown(which, separator));
    show({ values: [0, 1, 2].map(figure), shown, how: explain(model, mode, figure, shown) });
  }

  function listen() {
    form.addEventListener('submit', (event) => {
      event.preventDefault();
      remember();
      update(true);
    });
    form.addEventListener('change', (event) => {
      if (event.target !== lines) {
        remember();
        update(false);
      }
    });
    lines.addEventListener('input', remember);
    $('clear').addEventListener('click', () => {
      lines.value = '';
      lines.focus();
      remember();
      update(false);
    });
    $('clear-phases').addEventListener('click', () => {
      clearPhases();
      remember();
      update(false);
    });
    window.addEventListener('hashchange', () => {
      readAddress();
      update(lines.value !== '');
    });
  }

  // The ratings the wizard does not offer come from the engine: a link that chose one is read
  // again, which now leaves it out.
  function ready(module) {
    const wrap = (name, result, ...parameters) => module.cwrap(`cocomo_${name}`, result, parameters);
    engine = {
      calculate: wrap('calculate', 'number', 'number', 'number', 'string', 'string'),
      figure: wrap('figure', 'number', 'number'),
      shown: wrap('shown', 'string', 'number', 'string'),
      error: wrap('error', 'string', 'number'),
      coefficient: wrap('coefficient', 'number', 'number', 'number', 'number'),
      offered: wrap('offered', 'number', 'number', 'number'),
    };
    forEachRow(DRIVERS.length, (row) => STEPS.forEach((_, step) => {
      form.querySelector(`input[name="d${row}"][value="${step}"]`).disabled =
        engine.offered(row, step) === 0;
    }));
    if (form.querySelector('input:checked:disabled') !== null) {
      readAddress();
    }
    update(lines.value !== '');
    performance.mark('first-estimate');
  }

  function failed() {
    $('error').replaceChildren(element('p', {}, 'The estimate cannot be calculated: this browser '
      + 'did not load its program (cocomo.wasm).'));
  }

  readAddress();
  update(false);
  listen();
  $('page').classList.remove('pending');

  engineLoaded.then(ready, failed);
})();
