// The page around the library: loads the module, plays the demo song, a music file or the
// microphone through Web Audio, and once per animation frame hands the analyser's spectrum to the
// host in the module (web_host.cpp), which drives the library through its ten functions. The
// current mode's name comes from the library's own log line. window.viz is what the browser
// tests read.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const overlay = $('overlay');
  const message = $('message');
  const progress = $('progress');
  const playButton = $('play');
  const params = new URLSearchParams(location.search);
  const FFT_SIZE = 2048;
  const MODE_LINE = '[ContentPlayer][setContentMode] Mode next: ';

  const viz = (window.viz = {
    ready: false,
    paused: false,  // a test that drives the library itself stops the frame loop
    mode: '',
    modes: [],
    log: [],
    errors: [],
    frames: 0,
    runtimeMs: null,  // the module loaded and compiled
    instanceMs: null,  // the library's instance built (its programs compiled and warmed up)
    firstFrameMs: null,
    soundClasses: [],
  });

  function show(text, isError) {
    overlay.hidden = false;
    message.textContent = text;
    message.className = isError ? 'error' : '';
    progress.hidden = true;
    playButton.hidden = true;
    if (isError) {
      viz.errors.push(text);
    }
  }

  function hideOverlay() {
    overlay.hidden = true;
  }

  // ---- the module ---------------------------------------------------------------------------

  if (!document.createElement('canvas').getContext('webgl2')) {
    show('This browser cannot show the visualisation: it has no WebGL 2. ' +
         'Try a current Chrome, Chromium, Firefox or Safari, with hardware acceleration on.', true);
    return;
  }

  let mod = null;
  let spectrumPtr = 0;
  let samplesPtr = 0;

  window.Module = {
    canvas: canvas,
    noInitialRun: true,
    print: (text) => viz.log.push(text),
    printErr: (text) => viz.log.push(text),
    onLogLine: (line) => {
      viz.log.push(line);
      if (line.startsWith(MODE_LINE)) {
        viz.mode = line.slice(MODE_LINE.length).trim();
        viz.modes.push(viz.mode);
        $('mode').textContent = viz.mode;
      }
    },
    setStatus: (text) => {
      // "Downloading data... (loaded/total)" while the module and its data come in.
      const m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
      if (m) {
        progress.max = Number(m[2]);
        progress.value = Number(m[1]);
        message.textContent = 'Loading… ' + Math.round((100 * m[1]) / m[2]) + ' %';
      }
    },
    onAbort: (what) => show('The visualisation stopped: ' + what, true),
    onRuntimeInitialized: () => {
      mod = window.Module;
      viz.runtimeMs = performance.now();
      if (mod._web_start(params.has('analyzer') ? 1 : 0) !== 0) {
        show('This browser could not make a WebGL 2 context for the visualisation.', true);
        return;
      }
      viz.instanceMs = performance.now();
      spectrumPtr = mod._web_audio_format(48000, FFT_SIZE);
      viz.ready = true;
      requestAnimationFrame(frame);
      if (params.has('autoplay')) {
        playDemo();
      } else if (!params.has('idle')) {
        message.textContent = 'Ready.';
        progress.hidden = true;
        playButton.hidden = false;
      } else {
        hideOverlay();
      }
    },
  };

  const script = document.createElement('script');
  script.src = 'visualization.js';
  script.onerror = () => show('The visualisation could not be loaded (visualization.js is missing).', true);
  document.body.appendChild(script);

  // ---- audio --------------------------------------------------------------------------------

  let audio = null;  // AudioContext
  let analyser = null;
  let source = null;  // what plays now: {kind, stop()}
  let spectrumView = null;
  let samplesView = null;

  function ensureAudio() {
    if (!audio) {
      audio = new AudioContext();
      analyser = audio.createAnalyser();
      analyser.fftSize = FFT_SIZE;
      analyser.smoothingTimeConstant = 0;
      spectrumPtr = mod._web_audio_format(audio.sampleRate, FFT_SIZE);
      samplesPtr = mod._web_audio_samples();
    }
    if (audio.state === 'suspended') {
      audio.resume();
    }
    return audio;
  }

  function stopSource() {
    if (source) {
      source.stop();
      source = null;
    }
  }

  function playBuffers(kind, name, buffers, loop) {
    stopSource();
    const ctx = ensureAudio();
    let index = 0;
    let node = null;
    let stopped = false;
    const playPart = (first) => {
      node = ctx.createBufferSource();
      node.buffer = buffers[index];
      node.connect(analyser);
      node.connect(ctx.destination);
      node.onended = () => {
        if (stopped) {
          return;
        }
        index += 1;
        if (index >= buffers.length && !loop) {
          return;
        }
        index %= buffers.length;
        playPart(false);
      };
      node.start();
      $('source').textContent = buffers.length > 1 ? name + ' ' + (index + 1) + '/' + buffers.length : name;
      if (!first) {
        trackChange();
      }
    };
    playPart(true);
    trackChange();
    source = {
      kind: kind,
      stop: () => {
        stopped = true;
        node.onended = null;
        node.stop();
        node.disconnect();
      },
      next: () => {
        if (buffers.length > 1) {
          node.onended = null;
          node.stop();
          node.disconnect();
          index = (index + 1) % buffers.length;
          playPart(false);
          return true;
        }
        return false;
      },
    };
  }

  let demoBuffers = null;

  function playDemo() {
    const ctx = ensureAudio();
    if (!demoBuffers) {
      // vizhost's demo song, synthesised by the module: four parts, each its own track.
      demoBuffers = [];
      for (let part = 0; part < mod._web_demo_part_count(); part++) {
        const ptr = mod._web_demo_part(part);
        const frames = mod._web_demo_frames();
        const channels = mod._web_demo_channels();
        const buffer = ctx.createBuffer(channels, frames, mod._web_demo_rate());
        const samples = mod.HEAPF32.subarray(ptr >> 2, (ptr >> 2) + frames * channels);
        for (let c = 0; c < channels; c++) {
          const out = buffer.getChannelData(c);
          for (let i = 0; i < frames; i++) {
            out[i] = samples[i * channels + c];
          }
        }
        demoBuffers.push(buffer);
      }
    }
    playBuffers('demo', 'demo song', demoBuffers, true);
    hideOverlay();
  }

  async function playFile(file) {
    if (!file) {
      return;
    }
    const ctx = ensureAudio();
    let buffer;
    try {
      buffer = await ctx.decodeAudioData(await file.arrayBuffer());
    } catch (e) {
      show('This browser cannot play "' + file.name + '": it cannot decode its sound. ' +
           'Try a WAV, MP3, Ogg or FLAC file.', true);
      return;
    }
    playBuffers('file', file.name, [buffer], false);
    hideOverlay();
  }

  async function playMicrophone() {
    const ctx = ensureAudio();
    let stream;
    try {
      if (!navigator.mediaDevices || !navigator.mediaDevices.getUserMedia) {
        throw new Error('no microphone access in this page (it needs https or localhost)');
      }
      stream = await navigator.mediaDevices.getUserMedia({ audio: true });
    } catch (e) {
      show('The microphone cannot be used: ' +
           (e && e.name === 'NotAllowedError' ? 'access was denied.' : (e && e.message) || 'unknown reason.'), true);
      return;
    }
    stopSource();
    const node = ctx.createMediaStreamSource(stream);
    node.connect(analyser);  // not to the speakers: that would feed back
    source = {
      kind: 'microphone',
      stop: () => {
        node.disconnect();
        stream.getTracks().forEach((t) => t.stop());
      },
      next: () => false,
    };
    $('source').textContent = 'microphone';
    trackChange();
    hideOverlay();
  }

  // ---- the library --------------------------------------------------------------------------

  function trackChange() {
    if (mod) {
      mod._web_track_change();
    }
  }

  function nextTrack() {
    if (!(source && source.next())) {
      trackChange();
    }
  }

  let analyzerOn = params.has('analyzer');

  function toggleAnalyzer() {
    analyzerOn = !analyzerOn;
    mod._web_restart(analyzerOn ? 1 : 0);
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else {
      document.documentElement.requestFullscreen().catch((e) =>
        show('Full screen is not allowed here: ' + e.message, true));
    }
  }

  function frame(now) {
    requestAnimationFrame(frame);
    if (!viz.ready || viz.paused) {
      return;
    }
    let heard = 0;
    if (analyser && source && audio.state === 'running') {
      // Views again each frame: memory growth replaces the module's buffer.
      const heap = mod.HEAPF32.buffer;
      if (!spectrumView || spectrumView.buffer !== heap) {
        spectrumView = new Float32Array(heap, spectrumPtr, FFT_SIZE / 2);
        samplesView = new Float32Array(heap, samplesPtr, FFT_SIZE);
      }
      analyser.getFloatFrequencyData(spectrumView);
      analyser.getFloatTimeDomainData(samplesView);
      heard = 1;
    }
    const sent = mod._web_frame(now / 1000, heard);
    if (sent >= 0) {
      viz.soundClasses.push(sent);
    }
    viz.frames += 1;
    if (viz.firstFrameMs === null) {
      viz.firstFrameMs = performance.now();
    }
  }

  // ---- controls -----------------------------------------------------------------------------

  const pickFile = () => $('file').click();
  const rotate = () => mod && mod._web_rotate(performance.now() / 1000);
  const actions = {
    d: () => mod && playDemo(),
    o: pickFile,
    m: () => mod && playMicrophone(),
    n: () => mod && nextTrack(),
    r: rotate,
    a: () => mod && toggleAnalyzer(),
    f: toggleFullscreen,
  };
  $('demo').onclick = actions.d;
  $('mic').onclick = actions.m;
  $('next').onclick = actions.n;
  $('rotate').onclick = actions.r;
  $('analyzer').onclick = actions.a;
  $('fullscreen').onclick = actions.f;
  playButton.onclick = actions.d;
  $('file').onchange = (e) => mod && playFile(e.target.files[0]);
  document.addEventListener('keydown', (e) => {
    const action = !e.ctrlKey && !e.metaKey && !e.altKey && actions[e.key.toLowerCase()];
    if (action) {
      e.preventDefault();
      action();
    }
  });
  document.addEventListener('dragover', (e) => {
    e.preventDefault();
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    document.body.classList.remove('dragging');
    if (mod && e.dataTransfer.files.length > 0) {
      playFile(e.dataTransfer.files[0]);
    }
  });
})();
